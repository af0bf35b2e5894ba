#include "model/binary/Mszip.h"

#include "model/binary/LittleEndian.h"
#include "model/binary/Refusal.h"
#include "model/binary/XFileHeader.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

namespace xfile {

namespace {

constexpr const char* kOperation = "xfile::InflateMszip";
// Deflate's window: how far back a block may copy from.
constexpr std::size_t kDictionaryBytes = 32768;
constexpr std::size_t kSizeField = 4;
constexpr std::size_t kBlockHeader = 4;
constexpr std::size_t kSignature = 2;
// .x files compress by 3 to 10 times; deflate can reach 1032.
constexpr std::size_t kLikelyRatio = 16;

std::string Refuse(const std::string& what) { return detail::LoadError(what, kOperation); }

// A raw inflate stream for the whole file, reset before each block.
class Inflater {
public:
    Inflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (ready_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

// libdeflate inflates about twice as fast as zlib but takes no dictionary.
// It gets one all the same: the history goes first in the input as a stored
// deflate block, which ends on a byte, so the block's own stream follows it
// unchanged, and the output starts with the history written over itself.
class FastInflater {
public:
    FastInflater() : decompressor_(libdeflate_alloc_decompressor()) {}
    bool ready() const { return decompressor_ != nullptr; }

    // True when the block inflates to exactly `size` bytes after the
    // `history` bytes just before `out`. On false, nothing is decided: zlib
    // gives the verdict and its message.
    bool Inflate(std::span<const std::uint8_t> compressed, std::uint8_t* out, std::size_t history, std::size_t size)
    {
        std::size_t length = 0;
        if (history > 0) {
            const auto stored = static_cast<std::uint16_t>(history);
            const std::array<std::uint8_t, kStoredHeader> header = {
                0, static_cast<std::uint8_t>(stored), static_cast<std::uint8_t>(stored >> 8),
                static_cast<std::uint8_t>(~stored), static_cast<std::uint8_t>(~stored >> 8)};
            std::memcpy(input_.data(), header.data(), header.size());
            std::memcpy(input_.data() + header.size(), out - history, history);
            length = header.size() + history;
        }
        std::memcpy(input_.data() + length, compressed.data(), compressed.size());
        length += compressed.size();
        return libdeflate_deflate_decompress(decompressor_.get(), input_.data(), length, out - history,
                                             history + size, nullptr) == LIBDEFLATE_SUCCESS;
    }

private:
    struct Free {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    // A stored block: final bit and type 0 on the first byte, then the
    // length and its complement.
    static constexpr std::size_t kStoredHeader = 5;
    std::unique_ptr<libdeflate_decompressor, Free> decompressor_;
    std::vector<std::uint8_t> input_ = std::vector<std::uint8_t>(kStoredHeader + kDictionaryBytes + UINT16_MAX);
};

class BlockReader {
public:
    // `out` holds the header already. When `sized`, it holds the declared
    // size too, and the blocks are written in place.
    BlockReader(std::span<const std::uint8_t> file, std::size_t declared, FileBytes& out, bool sized)
        : file_(file), declared_(declared), out_(out), sized_(sized)
    {
        if (!fast_.ready()) throw std::bad_alloc();
    }

    // Inflates the block whose header starts at `position`.
    bool Inflate(Inflater& inflater, std::size_t position, std::size_t& next, std::string& error);
    // The bytes inflated so far, header included.
    std::size_t written() const { return written_; }

private:
    // Makes room for `needed` bytes beyond the first reservation: the
    // capacity doubles as blocks arrive but never passes the declared size,
    // so an honest file ends with no slack and a lying one holds no more
    // than twice what it really inflated to.
    void Reserve(std::size_t needed)
    {
        if (needed <= out_.capacity()) return;
        out_.reserve(std::max(needed, std::min(declared_, 2 * out_.capacity())));
    }

    std::span<const std::uint8_t> file_;
    std::size_t declared_;
    FileBytes& out_;
    bool sized_;
    std::size_t written_ = kHeaderSize;
    std::size_t index_ = 0;
    FastInflater fast_;
};

bool BlockReader::Inflate(Inflater& inflater, std::size_t position, std::size_t& next, std::string& error)
{
    const std::size_t number = ++index_;
    const std::size_t left = file_.size() - position;
    if (left < kBlockHeader + kSignature) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu est coupé par la fin du fichier (%zu octets "
                                      "sur les 6 de son en-tête)",
                                      number, position, left));
        return false;
    }
    const std::uint8_t* header = file_.data() + position;
    const std::size_t size = detail::ReadLe16(header);
    const std::size_t stored = detail::ReadLe16(header + 2);
    if (stored < kSignature || stored > left - kBlockHeader) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu annonce %zu octets compressés, alors que "
                                      "%zu octets restent dans le fichier",
                                      number, position, stored, left - kBlockHeader));
        return false;
    }
    if (header[4] != 'C' || header[5] != 'K') {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu n'a pas la signature \"CK\"", number,
                                      position));
        return false;
    }
    const std::size_t start = written_;
    if (size > declared_ - start) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu mène à %zu octets, plus que les %zu que le "
                                      "fichier annonce",
                                      number, position, start + size, declared_));
        return false;
    }

    // The header is not part of the stream: the dictionary starts after it.
    const std::size_t history = std::min(start - kHeaderSize, kDictionaryBytes);
    if (!sized_) {
        Reserve(start + size);
        out_.resize(start + size);
    }
    const std::span<const std::uint8_t> compressed(header + kBlockHeader + kSignature, stored - kSignature);
    if (fast_.Inflate(compressed, out_.data() + start, history, size)) {
        written_ += size;
        next = position + kBlockHeader + stored;
        return true;
    }

    z_stream& stream = inflater.stream();
    inflateReset(&stream);
    if (history > 0 && inflateSetDictionary(&stream, out_.data() + start - history, static_cast<uInt>(history)) != Z_OK) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu ne peut pas reprendre les blocs précédents",
                                      number, position));
        return false;
    }
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = out_.data() + start;
    stream.avail_out = static_cast<uInt>(size);
    int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = size - stream.avail_out;
    if (result == Z_BUF_ERROR && stream.avail_out == 0) {
        // The announced bytes are there but the stream goes on: see whether it
        // holds more data or was only cut.
        std::uint8_t probe = 0;
        stream.next_out = &probe;
        stream.avail_out = 1;
        result = inflate(&stream, Z_FINISH);
        if (stream.avail_out == 0) {
            error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu donne plus que les %zu octets qu'il "
                                          "annonce",
                                          number, position, size));
            return false;
        }
    }
    if (result == Z_MEM_ERROR) throw std::bad_alloc();
    if (result == Z_DATA_ERROR) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu est endommagé (%s)", number, position,
                                      stream.msg != nullptr ? stream.msg : "données deflate invalides"));
        return false;
    }
    if (result != Z_STREAM_END) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu s'arrête avant la fin de ses données "
                                      "compressées",
                                      number, position));
        return false;
    }
    if (produced != size) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu donne %zu octets au lieu des %zu qu'il "
                                      "annonce",
                                      number, position, produced, size));
        return false;
    }
    written_ += size;
    next = position + kBlockHeader + stored;
    return true;
}

// What the size field declares, from the file's first 20 bytes.
std::size_t DeclaredSize(std::span<const std::uint8_t> file) { return detail::ReadLe32(file.data() + kHeaderSize); }

// A declared size the compressed bytes could well hold.
std::size_t LikelyBound(std::span<const std::uint8_t> file)
{
    return kHeaderSize + kLikelyRatio * (file.size() - kHeaderSize - kSizeField);
}

// `consumable`, when given, holds `file`: the blocks inflated go back to the
// system as the inflation moves on. `progress`, when given, is told after
// each block, and `out` already holds the declared size.
bool InflateBlocks(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& out,
                   InflationProgress* progress, std::string& error)
{
    FileHeader header;
    if (!ReadHeader(file, header, error)) return false;
    if (!header.compressed) {
        error = Refuse("ce fichier .x n'est pas compressé (format \"tzip\" ou \"bzip\" attendu)");
        return false;
    }
    if (file.size() < kHeaderSize + kSizeField) {
        error = Refuse("le fichier compressé s'arrête avant sa taille décompressée");
        return false;
    }
    const std::size_t declared = DeclaredSize(file);
    if (declared < kHeaderSize) {
        error = Refuse(detail::Format("la taille décompressée annoncée (%zu octets) est plus petite que l'en-tête",
                                      declared));
        return false;
    }
    Inflater inflater;
    if (!inflater.ready()) throw std::bad_alloc();

    const bool sized = progress != nullptr;
    assert(!sized || out.size() == declared);
    if (!sized) {
        // Sized at once when the declared size is one the compressed bytes
        // could well hold: an honest file then inflates with no copy and no
        // slack, while a size that lies reserves no more than a few times
        // the file.
        out.reserve(std::min(declared, LikelyBound(file)));
        out.assign(file.begin(), file.begin() + kHeaderSize);
    } else {
        std::copy(file.begin(), file.begin() + kHeaderSize, out.begin());
    }
    std::memcpy(out.data() + 8, header.encoding == Encoding::Binary ? "bin " : "txt ", 4);
    BlockReader blocks(file, declared, out, sized);
    // Every block is read, even past the declared size: a size that lies
    // either way is refused.
    std::size_t forgotten = 0;
    for (std::size_t position = kHeaderSize + kSizeField; position < file.size();) {
        if (!blocks.Inflate(inflater, position, position, error)) return false;
        // The last 32 KiB are the next block's dictionary, rewritten as it inflates.
        if (progress != nullptr) progress->Settled(blocks.written() - std::min(blocks.written(), kDictionaryBytes));
        if (consumable != nullptr) platform::ForgetValuesBefore(*consumable, position, forgotten);
    }
    if (blocks.written() != declared) {
        error = Refuse(detail::Format("les blocs compressés donnent %zu octets, moins que les %zu que le fichier "
                                      "annonce",
                                      blocks.written(), declared));
        return false;
    }
    if (progress != nullptr) progress->Settled(declared);
    return true;
}

}  // namespace

namespace {

bool Inflate(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& uncompressed, std::string& error)
{
    FileBytes out;
    const bool ok =
        detail::RefusingOutOfMemory(kOperation, error, [&] { return InflateBlocks(file, consumable, out, nullptr, error); });
    uncompressed = ok ? std::move(out) : FileBytes{};
    return ok;
}

}  // namespace

bool InflateMszip(std::span<const std::uint8_t> file, FileBytes& uncompressed, std::string& error)
{
    return Inflate(file, nullptr, uncompressed, error);
}

bool InflateMszip(FileBytes&& file, FileBytes& uncompressed, std::string& error)
{
    FileBytes owned = std::move(file);
    return Inflate(owned, &owned, uncompressed, error);
}

std::optional<std::size_t> LikelyInflatedSize(std::span<const std::uint8_t> file)
{
    if (file.size() < kHeaderSize + kSizeField) return std::nullopt;
    const std::size_t declared = DeclaredSize(file);
    if (declared < kHeaderSize || declared > LikelyBound(file)) return std::nullopt;
    return declared;
}

bool InflateMszipInto(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& out,
                      InflationProgress& progress, std::string& error)
{
    return detail::RefusingOutOfMemory(kOperation, error,
                                       [&] { return InflateBlocks(file, consumable, out, &progress, error); });
}

}  // namespace xfile
