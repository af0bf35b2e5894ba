#include "platform/BitmapLoader.h"

#include "platform/RegularFile.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <array>
#include <sys/stat.h>
#include <cstdio>
#include <memory>
#include <new>

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

// Hands out the pixbuf's RGB bytes: its own memory when its rows are packed
// RGB already (any width that is a multiple of 4), else a packed copy.
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
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    try {
        if (channels == 3 && stride == rowBytes) {
            std::shared_ptr<GdkPixbuf> keeper(GDK_PIXBUF(g_object_ref(pixbuf)), GObjectUnref());
            result.rgb = std::shared_ptr<const std::uint8_t>(keeper, pixels);
            return BitmapStatus::Loaded;
        }
        auto packed = std::make_shared<std::vector<std::uint8_t>>();
        packed->reserve(result.size);
        for (std::uint32_t y = 0; y < result.height; ++y) {
            const guchar* source = pixels + y * stride;
            if (channels == 3) {
                packed->insert(packed->end(), source, source + rowBytes);
                continue;
            }
            for (std::uint32_t x = 0; x < result.width; ++x, source += channels)
                packed->insert(packed->end(), source, source + 3);
        }
        result.rgb = std::shared_ptr<const std::uint8_t>(packed, packed->data());
    } catch (const std::bad_alloc&) {
        result.rgb = nullptr;
        return BitmapStatus::OutOfMemory;
    }
    return BitmapStatus::Loaded;
}

std::uint32_t LittleEndian32(const std::uint8_t* at)
{
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// The loader sizes its buffers from the pixel-data offset, the info header's
// size and the palette's colour count as the file gives them, before it has
// read what they announce: a few bytes could make it reserve gigabytes. All
// three must lie within the file.
bool HeadersFitInFile(std::span<const std::uint8_t> start, std::uint64_t fileSize)
{
    constexpr std::size_t kFileHeaderBytes = 14;
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

// Runs the BMP module on what `feed` hands it, piece by piece, until feed
// returns an empty piece or the loader refuses one.
template <typename Feed>
DecodedBitmap Decode(Feed&& feed, std::uint64_t fileSize, std::uint32_t maxSide)
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
    if (!HeadersFitInFile(piece, fileSize)) {
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
        static_cast<std::uint64_t>(status.st_size), maxSide);
    if (std::ferror(file.get())) return {};
    return result;
}

}  // namespace platform
