#include "model/binary/Mszip.h"

#include "model/binary/LittleEndian.h"
#include "model/binary/Refusal.h"
#include "model/binary/XFileHeader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
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

class BlockReader {
public:
    BlockReader(std::span<const std::uint8_t> file, std::size_t declared, FileBytes& out)
        : file_(file), declared_(declared), out_(out)
    {
    }

    // Inflates the block whose header starts at `position`.
    bool Inflate(Inflater& inflater, std::size_t position, std::size_t& next, std::string& error);

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
    std::size_t index_ = 0;
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
    const std::size_t start = out_.size();
    if (size > declared_ - start) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu mène à %zu octets, plus que les %zu que le "
                                      "fichier annonce",
                                      number, position, start + size, declared_));
        return false;
    }

    z_stream& stream = inflater.stream();
    inflateReset(&stream);
    // The header is not part of the stream: the dictionary starts after it.
    const std::size_t history = std::min(start - kHeaderSize, kDictionaryBytes);
    if (history > 0 && inflateSetDictionary(&stream, out_.data() + start - history, static_cast<uInt>(history)) != Z_OK) {
        error = Refuse(detail::Format("le bloc compressé %zu à l'octet %zu ne peut pas reprendre les blocs précédents",
                                      number, position));
        return false;
    }
    Reserve(start + size);
    out_.resize(start + size);
    stream.next_in = const_cast<Bytef*>(header + kBlockHeader + kSignature);
    stream.avail_in = static_cast<uInt>(stored - kSignature);
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
    next = position + kBlockHeader + stored;
    return true;
}

// `consumable`, when given, holds `file`: the blocks inflated go back to the
// system as the inflation moves on.
bool InflateBlocks(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& out, std::string& error)
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
    const std::size_t declared = detail::ReadLe32(file.data() + kHeaderSize);
    if (declared < kHeaderSize) {
        error = Refuse(detail::Format("la taille décompressée annoncée (%zu octets) est plus petite que l'en-tête",
                                      declared));
        return false;
    }
    Inflater inflater;
    if (!inflater.ready()) throw std::bad_alloc();

    // Sized at once when the declared size is one the compressed bytes could
    // well hold: an honest file then inflates with no copy and no slack,
    // while a size that lies reserves no more than a few times the file.
    const std::size_t likely = kHeaderSize + kLikelyRatio * (file.size() - kHeaderSize - kSizeField);
    out.reserve(std::min(declared, likely));
    out.assign(file.begin(), file.begin() + kHeaderSize);
    std::memcpy(out.data() + 8, header.encoding == Encoding::Binary ? "bin " : "txt ", 4);
    BlockReader blocks(file, declared, out);
    // Every block is read, even past the declared size: a size that lies
    // either way is refused.
    std::size_t forgotten = 0;
    for (std::size_t position = kHeaderSize + kSizeField; position < file.size();) {
        if (!blocks.Inflate(inflater, position, position, error)) return false;
        const std::size_t upTo = position / platform::kForgetStepBytes * platform::kForgetStepBytes;
        if (consumable != nullptr && upTo > forgotten) {
            platform::ForgetValues(*consumable, forgotten, upTo - forgotten);
            forgotten = upTo;
        }
    }
    if (out.size() != declared) {
        error = Refuse(detail::Format("les blocs compressés donnent %zu octets, moins que les %zu que le fichier "
                                      "annonce",
                                      out.size(), declared));
        return false;
    }
    return true;
}

}  // namespace

namespace {

bool Inflate(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& uncompressed, std::string& error)
{
    FileBytes out;
    const bool ok =
        detail::RefusingOutOfMemory(kOperation, error, [&] { return InflateBlocks(file, consumable, out, error); });
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

}  // namespace xfile
