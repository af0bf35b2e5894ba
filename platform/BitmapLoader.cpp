#include "platform/BitmapLoader.h"

#include "platform/RegularFile.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// What the loader tells us while it works: the size before it reserves the
// pixels (so that we can stop it), and which rows it has filled.
struct LoadProgress {
    std::uint32_t maxSide = 0;
    bool sizeKnown = false;
    bool badSize = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<bool> rowFilled;
    std::uint32_t filledRows = 0;
};

void OnSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer data)
{
    auto& progress = *static_cast<LoadProgress*>(data);
    progress.sizeKnown = true;
    progress.width = width > 0 ? static_cast<std::uint32_t>(width) : 0;
    progress.height = height > 0 ? static_cast<std::uint32_t>(height) : 0;
    if (progress.width == 0 || progress.height == 0 || progress.width > progress.maxSide ||
        progress.height > progress.maxSide) {
        progress.badSize = true;
        gdk_pixbuf_loader_set_size(loader, 0, 0);  // a size of 0 makes the loader skip the pixels
        return;
    }
    progress.rowFilled.assign(progress.height, false);
}

void OnAreaUpdated(GdkPixbufLoader*, gint, gint y, gint, gint height, gpointer data)
{
    auto& progress = *static_cast<LoadProgress*>(data);
    const auto rows = static_cast<std::int64_t>(progress.rowFilled.size());
    const std::int64_t first = std::max<std::int64_t>(y, 0);
    const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(y) + height, rows);
    for (std::int64_t row = first; row < end; ++row) {
        if (!progress.rowFilled[static_cast<std::size_t>(row)]) {
            progress.rowFilled[static_cast<std::size_t>(row)] = true;
            ++progress.filledRows;
        }
    }
}

// Gives the system back the whole pages of [begin, end), memory we keep but
// will not read again: the tail left over when RGBA rows are packed as RGB
// is a quarter of the image, which the loader has already cleared or filled.
void ReleasePagesAfter(guchar* begin, guchar* end)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) / page * page;
    if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

// Hands out the pixbuf's RGB bytes, packed in its own memory: rows of RGBA,
// or of RGB padded to 4 bytes, are packed in place, every byte moving towards
// the start, so that no second image is ever made.
BitmapStatus TakeRgb(GdkPixbuf* pixbuf, DecodedBitmap& result)
{
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const auto stride = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3 ||
        static_cast<std::uint32_t>(gdk_pixbuf_get_width(pixbuf)) != result.width ||
        static_cast<std::uint32_t>(gdk_pixbuf_get_height(pixbuf)) != result.height)
        return BitmapStatus::Unreadable;
    const std::size_t rowBytes = static_cast<std::size_t>(result.width) * 3;
    result.size = rowBytes * result.height;
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);  // the loader is done with them
    if (channels != 3 || stride != rowBytes) {
        for (std::uint32_t y = 0; y < result.height; ++y) {
            const guchar* source = pixels + y * stride;
            guchar* target = pixels + y * rowBytes;
            if (channels == 3) {
                std::memmove(target, source, rowBytes);
                continue;
            }
            for (std::uint32_t x = 0; x < result.width; ++x, source += channels, target += 3) {
                const guchar red = source[0], green = source[1], blue = source[2];
                target[0] = red, target[1] = green, target[2] = blue;
            }
        }
        ReleasePagesAfter(pixels + result.size, pixels + gdk_pixbuf_get_byte_length(pixbuf));
    }
    try {
        std::shared_ptr<GdkPixbuf> keeper(GDK_PIXBUF(g_object_ref(pixbuf)), GObjectUnref());
        result.rgb = std::shared_ptr<const std::uint8_t>(keeper, pixels);
    } catch (const std::bad_alloc&) {
        result.rgb = nullptr;
        return BitmapStatus::OutOfMemory;
    }
    return BitmapStatus::Loaded;
}

std::uint32_t LittleEndian16(const std::uint8_t* at) { return at[0] | (at[1] << 8); }

std::uint32_t LittleEndian32(const std::uint8_t* at)
{
    return LittleEndian16(at) | (LittleEndian16(at + 2) << 16);
}

constexpr std::size_t kFileHeaderBytes = 14;

// The loader sizes its buffers from the pixel-data offset, the info header's
// size and the palette's colour count as the file gives them, before it has
// read what they announce: a few bytes could make it reserve gigabytes. All
// three must lie within the file.
bool HeadersFitInFile(std::span<const std::uint8_t> start, std::uint64_t fileSize)
{
    // The loader refuses so short a file, or one that is no bitmap, itself.
    if (start.size() < kFileHeaderBytes + 4 || start[0] != 'B' || start[1] != 'M') return true;
    const std::uint64_t dataOffset = LittleEndian32(start.data() + 10);
    const std::uint64_t infoSize = LittleEndian32(start.data() + kFileHeaderBytes);
    if (dataOffset > fileSize || kFileHeaderBytes + infoSize > fileSize) return false;
    constexpr std::size_t kColoursUsedAt = kFileHeaderBytes + 32;  // in info headers of 40 bytes or more
    if (infoSize < 40 || start.size() < kColoursUsedAt + 4) return true;
    const std::uint64_t paletteBytes = 4ull * LittleEndian32(start.data() + kColoursUsedAt);
    return kFileHeaderBytes + infoSize + paletteBytes <= fileSize;
}

enum Compression : std::uint32_t { kUncompressed = 0, kRunLength8 = 1, kRunLength4 = 2, kBitFields = 3 };

// What the headers say the pixel data needs, read as the loader reads them.
struct BitmapLayout {
    std::uint64_t width = 0;
    std::uint64_t height = 0;  // rows, whichever way they are stored
    bool topDown = false;
    std::uint32_t depth = 0;
    std::uint32_t compression = kUncompressed;
    std::uint64_t headerBytes = 0;  // file and info headers
    std::uint64_t paletteBytes = 0;
    std::uint64_t dataOffset = 0;
};

// Nothing for headers the loader refuses itself.
std::optional<BitmapLayout> ReadLayout(std::span<const std::uint8_t> start)
{
    if (start.size() < kFileHeaderBytes + 4 || start[0] != 'B' || start[1] != 'M') return std::nullopt;
    const std::uint8_t* info = start.data() + kFileHeaderBytes;
    const std::uint32_t infoSize = LittleEndian32(info);
    BitmapLayout layout;
    layout.headerBytes = kFileHeaderBytes + std::uint64_t{infoSize};
    layout.dataOffset = LittleEndian32(start.data() + 10);
    std::uint64_t coloursUsed = 0;
    std::uint64_t bytesPerColour = 4;
    if (infoSize == 12) {  // OS/2
        if (start.size() < kFileHeaderBytes + 12) return std::nullopt;
        layout.width = LittleEndian16(info + 4);
        layout.height = LittleEndian16(info + 6);
        layout.depth = LittleEndian16(info + 10);
        bytesPerColour = 3;
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 || infoSize == 108 ||
               infoSize == 124) {
        if (start.size() < kFileHeaderBytes + 40) return std::nullopt;
        const auto width = static_cast<std::int32_t>(LittleEndian32(info + 4));
        const auto height = static_cast<std::int32_t>(LittleEndian32(info + 8));
        if (width <= 0 || height == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
        layout.width = static_cast<std::uint64_t>(width);
        layout.topDown = height < 0;
        layout.height = static_cast<std::uint64_t>(height < 0 ? -std::int64_t{height} : height);
        layout.depth = LittleEndian16(info + 14);
        layout.compression = LittleEndian32(info + 16);
        coloursUsed = LittleEndian32(info + 32);
    } else {
        return std::nullopt;
    }
    if (layout.depth <= 8) layout.paletteBytes = bytesPerColour * (coloursUsed != 0 ? coloursUsed : 1u << layout.depth);
    return layout;
}

// The bytes of one stored row of an uncompressed image, padded to 4 bytes;
// nothing for a depth the loader refuses.
std::optional<std::uint64_t> StoredRowBytes(const BitmapLayout& layout)
{
    std::uint64_t bytes = 0;
    switch (layout.depth) {
    case 1: bytes = (layout.width + 7) / 8; break;
    case 4: bytes = (layout.width + 1) / 2; break;
    case 8:
    case 16:
    case 24:
    case 32: bytes = layout.width * (layout.depth / 8); break;
    default: return std::nullopt;
    }
    return (bytes + 3) / 4 * 4;
}

// Follows run-length data as the loader does, only to learn whether it holds
// the image: whether an end of line or a jump goes past the last row, or an
// end of bitmap comes, before the data ends. Rows that jumps or an early end
// of bitmap leave blank are not held by the data: a few bytes could leave
// thousands blank, so at most half the rows may be.
class RunLengthCoverage {
public:
    RunLengthCoverage(std::uint64_t rows, bool fourBits) : rows_(rows), fourBits_(fourBits) {}

    void Feed(std::span<const std::uint8_t> bytes)
    {
        for (std::size_t i = 0; i < bytes.size() && row_ < rows_; ++i) Take(bytes[i]);
    }
    bool Done() const { return row_ >= rows_; }
    bool HoldsImage() const { return Done() && 2 * blankRows_ <= rows_; }

private:
    enum class Expect { Command, RunColour, Escape, JumpX, JumpY, Literal };

    void Skip(std::uint64_t rows)
    {
        rows = std::min(rows, rows_ - row_);
        blankRows_ += rows;
        row_ += rows;
    }

    void Take(std::uint8_t byte)
    {
        switch (expect_) {
        case Expect::Command: expect_ = byte != 0 ? Expect::RunColour : Expect::Escape; break;
        case Expect::RunColour: expect_ = Expect::Command; break;
        case Expect::Escape:
            expect_ = Expect::Command;
            if (byte == 0) {
                ++row_;  // end of line
            } else if (byte == 1) {
                Skip(rows_ - row_ - 1);  // end of bitmap: the rows after this one
                row_ = rows_;
            } else if (byte == 2) {
                expect_ = Expect::JumpX;
            } else {
                // `byte` pixels as they are, in whole 16-bit words.
                const std::uint32_t bytes = fourBits_ ? (byte + 1u) / 2 : byte;
                literalLeft_ = bytes + bytes % 2;
                expect_ = Expect::Literal;
            }
            break;
        case Expect::JumpX: expect_ = Expect::JumpY; break;
        case Expect::JumpY:
            Skip(byte);
            expect_ = Expect::Command;
            break;
        case Expect::Literal:
            if (--literalLeft_ == 0) expect_ = Expect::Command;
            break;
        }
    }

    std::uint64_t rows_;
    bool fourBits_;
    std::uint64_t row_ = 0;
    std::uint64_t blankRows_ = 0;
    Expect expect_ = Expect::Command;
    std::uint32_t literalLeft_ = 0;
};

// Whether the data after the headers can hold the image they announce,
// judged before the loader reserves that image: uncompressed rows must all be
// in the file, run-length data must hold the image (see RunLengthCoverage).
// `scan(offset, coverage)` feeds coverage the file from `offset` on. Images
// the loader refuses for their size or their kind are left to it.
template <typename Scan>
bool DataCanHoldImage(std::span<const std::uint8_t> start, std::uint64_t fileSize, std::uint32_t maxSide, Scan&& scan)
{
    const std::optional<BitmapLayout> layout = ReadLayout(start);
    if (!layout || layout->width > maxSide || layout->height > maxSide || layout->height == 0) return true;
    if (layout->compression == kUncompressed || layout->compression == kBitFields) {
        const std::optional<std::uint64_t> rowBytes = StoredRowBytes(*layout);
        return !rowBytes || layout->headerBytes + *rowBytes * layout->height <= fileSize;
    }
    const bool fourBits = layout->compression == kRunLength4 && layout->depth == 4;
    const bool eightBits = layout->compression == kRunLength8 && layout->depth == 8;
    if ((!fourBits && !eightBits) || layout->topDown) return true;
    RunLengthCoverage coverage(layout->height, fourBits);
    scan(std::max(layout->dataOffset, layout->headerBytes + layout->paletteBytes), coverage);
    return coverage.HoldsImage();
}

// Runs the BMP module on what `feed` hands it, piece by piece, until feed
// returns an empty piece or the loader refuses one; the file's data is first
// checked through `scan` (see DataCanHoldImage).
template <typename Feed, typename Scan>
DecodedBitmap Decode(Feed&& feed, Scan&& scan, std::uint64_t fileSize, std::uint32_t maxSide)
{
    DecodedBitmap result;
    // Only the BMP module: a PNG or an SVG renamed .bmp is not a bitmap.
    std::unique_ptr<GdkPixbufLoader, GObjectUnref> loader(gdk_pixbuf_loader_new_with_type("bmp", nullptr));
    if (!loader) return result;

    LoadProgress progress;
    progress.maxSide = maxSide;
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(OnSizePrepared), &progress);
    g_signal_connect(loader.get(), "area-updated", G_CALLBACK(OnAreaUpdated), &progress);

    bool written = true;
    bool fed = false;
    std::span<const std::uint8_t> piece = feed();
    if (!HeadersFitInFile(piece, fileSize) || !DataCanHoldImage(piece, fileSize, maxSide, scan)) {
        gdk_pixbuf_loader_close(loader.get(), nullptr);
        result.status = BitmapStatus::Incomplete;
        return result;
    }
    for (; written && !piece.empty(); piece = feed()) {
        written = gdk_pixbuf_loader_write(loader.get(), piece.data(), piece.size(), nullptr);
        fed = true;
    }
    const bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);  // always closed, even after a failed write
    result.width = progress.width;
    result.height = progress.height;

    if (progress.badSize) {
        result.status = BitmapStatus::BadSize;
        return result;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!fed || !written || !closed || !progress.sizeKnown || pixbuf == nullptr) return result;
    if (progress.filledRows < progress.height) {
        result.status = BitmapStatus::Incomplete;
        return result;
    }
    result.status = TakeRgb(pixbuf, result);
    if (result.status != BitmapStatus::Loaded) result.size = 0;
    return result;
}

}  // namespace

DecodedBitmap DecodeBitmap(std::span<const std::uint8_t> bytes, std::uint32_t maxSide)
{
    bool given = false;
    return Decode(
        [&] {
            if (given) return std::span<const std::uint8_t>();
            given = true;
            return bytes;
        },
        [&](std::uint64_t offset, RunLengthCoverage& coverage) {
            if (offset < bytes.size()) coverage.Feed(bytes.subspan(offset));
        },
        bytes.size(), maxSide);
}

DecodedBitmap DecodeBitmapFile(const std::string& path, std::uint32_t maxSide)
{
    const FileHandle file = OpenRegularFile(path);
    if (!file) return {};
    // Read in pieces, as the loader reads a file itself: no copy of the whole file.
    std::array<std::uint8_t, 1 << 16> piece;
    struct stat status{};
    if (fstat(fileno(file.get()), &status) != 0) return {};
    DecodedBitmap result = Decode(
        [&] {
            const std::size_t got = std::fread(piece.data(), 1, piece.size(), file.get());
            return std::span<const std::uint8_t>(piece.data(), got);
        },
        [&](std::uint64_t offset, RunLengthCoverage& coverage) {
            // A pass of its own over the data, then back to where the loader's feed stands.
            const off_t resume = ftello(file.get());
            std::vector<std::uint8_t> scanned(piece.size());
            if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return;
            while (!coverage.Done()) {
                const std::size_t got = std::fread(scanned.data(), 1, scanned.size(), file.get());
                if (got == 0) break;
                coverage.Feed(std::span<const std::uint8_t>(scanned.data(), got));
            }
            fseeko(file.get(), resume, SEEK_SET);
        },
        static_cast<std::uint64_t>(status.st_size), maxSide);
    if (std::ferror(file.get())) return {};
    return result;
}

}  // namespace platform
