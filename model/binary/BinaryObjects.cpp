#include "model/binary/BinaryObjects.h"

#include "model/binary/DocumentBuilder.h"
#include "model/binary/LittleEndian.h"
#include "model/binary/Refusal.h"
#include "model/binary/TokenReader.h"
#include "model/binary/XFileHeader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace xfile {

namespace {

constexpr const char* kOperation = "xfile::ReadBinaryObjects";

// Sizes the value arrays from the lists the file really holds (their counts
// were checked against the bytes), so that they never grow past them.
void ReserveValues(std::span<const std::uint8_t> file, unsigned floatBytes, Document& document)
{
    TokenReader tokens(file, floatBytes, kHeaderSize);
    TokenRecord record;
    std::size_t integers = 0;
    std::size_t floats = 0;
    while (tokens.Next(record) == TokenReader::Step::Token) {
        if (record.token == Token::IntegerList) integers += record.count;
        if (record.token == Token::Integer) ++integers;
        if (record.token == Token::FloatList) floats += record.count;
    }
    document.integers.reserve(integers);
    document.floats.reserve(floats);
}

// Sizes the value arrays for data that is still arriving, from what its
// size could hold at most: untouched, the reservation costs no memory. One
// the system refuses only costs copies as the arrays grow.
void ReserveAtMost(std::size_t dataBytes, unsigned floatBytes, Document& document)
{
    try {
        document.integers.reserve(dataBytes / 4);
        document.floats.reserve(dataBytes / floatBytes);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

// An empty list adds no part, and memcpy may not see its null span.
void CopyIntegers(const std::uint8_t* values, std::span<std::uint32_t> out)
{
    if (out.empty()) return;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out.data(), values, out.size_bytes());
    } else {
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = detail::ReadLe32(values + 4 * i);
    }
}

void CopyFloats(const std::uint8_t* values, unsigned floatBytes, std::span<float> out)
{
    static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559);
    if (out.empty()) return;
    if (floatBytes == 4) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(out.data(), values, out.size_bytes());
        } else {
            for (std::size_t i = 0; i < out.size(); ++i) out[i] = std::bit_cast<float>(detail::ReadLe32(values + 4 * i));
        }
        return;
    }
    // Doubles beyond float's range become infinities, as IEEE rounding makes them.
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<float>(std::bit_cast<double>(detail::ReadLe64(values + 8 * i)));
}

class ObjectReader {
public:
    // `consumable`, when given, holds `file`, and the pages read are given
    // back as the reading goes on.
    ObjectReader(std::span<const std::uint8_t> file, unsigned floatBytes, Document& document, FileBytes* consumable,
                 ArrivingBytes* arriving)
        : floatBytes_(floatBytes),
          tokens_(file, floatBytes, kHeaderSize, arriving),
          builder_(document),
          consumable_(consumable)
    {
    }

    bool Read(std::string& error);

private:
    // Integers, floats or a string, in the current object.
    void AddData(const TokenRecord& record);
    bool ReadObject(const TokenRecord& identifier);
    bool ReadReference();
    bool SkipTemplate();
    // The next token, which must exist: the end of the data or a fault fails.
    bool Expect(TokenRecord& record, const char* wanted);

    // " de l'objet Mesh "Cube"" inside an object, nothing at the top level.
    std::string Owner() const;
    bool Fail(std::string what) { error_ = detail::LoadError(what, kOperation); return false; }
    bool FailFault();
    bool FailFault(const std::string& owner);
    bool Unexpected(const TokenRecord& record, const char* wanted);
    // Gives back the bytes before `end`, which are never read again.
    void ForgetBefore(std::size_t end) { platform::ForgetValuesBefore(*consumable_, end, forgotten_); }
    // Copies a list's values (`size` bytes each in the file) with copy(from,
    // to), by pieces when the file's bytes are given back as they are read:
    // a list of tens of megabytes then never stands twice in memory.
    template <class T, class Copy>
    void InPieces(const std::uint8_t* values, std::size_t size, std::span<T> out, Copy copy)
    {
        if (consumable_ == nullptr) return copy(values, out);
        const std::size_t piece = platform::kForgetStepBytes / size;
        for (std::size_t done = 0; done < out.size();) {
            const std::size_t n = std::min(piece, out.size() - done);
            copy(values + done * size, std::span<T>(out.data() + done, n));
            done += n;
            ForgetBefore(static_cast<std::size_t>(values - consumable_->data()) + done * size);
        }
    }

    unsigned floatBytes_;
    TokenReader tokens_;
    DocumentBuilder builder_;
    FileBytes* consumable_;
    std::size_t forgotten_ = 0;  // the bytes given back: [0, forgotten_)
    // Where each open object starts, for the message of a file that ends inside it.
    std::vector<std::size_t> openedAt_;
    // The template being skipped, for messages.
    std::string inTemplate_;
    std::string error_;
};

std::string ObjectReader::Owner() const
{
    if (!inTemplate_.empty()) return " du modèle " + detail::Quoted(inTemplate_);
    const DataObject* object = builder_.current();
    return object == nullptr ? std::string() : " de " + detail::ObjectLabel(object->type, object->name);
}

bool ObjectReader::FailFault() { return FailFault(Owner()); }

bool ObjectReader::FailFault(const std::string& owner)
{
    const TokenFault& fault = tokens_.fault();
    return Fail(fault.what + owner + detail::Format(" à l'octet %zu ", fault.offset) + fault.problem);
}

bool ObjectReader::Unexpected(const TokenRecord& record, const char* wanted)
{
    return Fail(std::string(TokenDescription(record.token)) + Owner() +
                detail::Format(" à l'octet %zu est inattendu (%s attendu)", record.offset, wanted));
}

bool ObjectReader::Expect(TokenRecord& record, const char* wanted)
{
    switch (tokens_.Next(record)) {
    case TokenReader::Step::Token: return true;
    case TokenReader::Step::Fault: return FailFault();
    case TokenReader::Step::End: break;
    }
    return Fail(detail::Format("les données s'arrêtent à l'octet %zu", tokens_.position()) + Owner() +
                " (" + wanted + " attendu)");
}

bool ObjectReader::Read(std::string& error)
{
    TokenRecord record;
    for (;;) {
        // Between two tokens nothing before the reader's position is read again.
        if (consumable_ != nullptr) ForgetBefore(tokens_.position());
        const TokenReader::Step step = tokens_.Next(record);
        if (step == TokenReader::Step::Fault) {
            FailFault();
            break;
        }
        if (step == TokenReader::Step::End) {
            if (const DataObject* open = builder_.current()) {
                Fail("le fichier se termine avant la fin de " + detail::ObjectLabel(open->type, open->name) +
                     detail::Format(" ouvert à l'octet %zu", openedAt_.back()));
                break;
            }
            return true;
        }
        const bool inObject = builder_.depth() > 0;
        const char* wanted = inObject ? "des données, un objet, une référence ou \"}\"" : "un objet ou un modèle";
        bool ok = true;
        switch (record.token) {
        case Token::Template:
            ok = inObject ? Unexpected(record, wanted) : SkipTemplate();
            break;
        case Token::Name:
            ok = ReadObject(record);
            break;
        case Token::OpenBrace:
            ok = inObject ? ReadReference() : Unexpected(record, wanted);
            break;
        case Token::CloseBrace:
            if (!inObject) {
                ok = Unexpected(record, wanted);
                break;
            }
            builder_.CloseObject();
            openedAt_.pop_back();
            break;
        case Token::Integer:
        case Token::IntegerList:
        case Token::FloatList:
        case Token::String:
            if (inObject)
                AddData(record);
            else
                ok = Unexpected(record, wanted);
            break;
        case Token::Comma:
        case Token::Semicolon:
            // Separators of string lists; the records say everything else.
            break;
        default:
            ok = IsPrimitiveType(record.token) ? ReadObject(record) : Unexpected(record, wanted);
            break;
        }
        if (!ok) break;
    }
    error = error_;
    return false;
}

void ObjectReader::AddData(const TokenRecord& record)
{
    switch (record.token) {
    case Token::Integer: builder_.AppendIntegers(1)[0] = record.count; break;
    case Token::IntegerList:
        InPieces(record.values, 4, builder_.AppendIntegers(record.count),
                 [](const std::uint8_t* values, std::span<std::uint32_t> out) { CopyIntegers(values, out); });
        break;
    case Token::FloatList:
        InPieces(record.values, floatBytes_, builder_.AppendFloats(record.count),
                 [this](const std::uint8_t* values, std::span<float> out) { CopyFloats(values, floatBytes_, out); });
        break;
    case Token::String: builder_.AddString(std::string(record.text)); break;
    default: break;
    }
}

bool ObjectReader::ReadObject(const TokenRecord& identifier)
{
    std::string type =
        identifier.token == Token::Name ? std::string(identifier.text) : std::string(TokenKeyword(identifier.token));
    TokenRecord record;
    if (!Expect(record, "un nom ou \"{\"")) return false;
    std::string name;
    if (record.token == Token::Name) {
        name = std::string(record.text);
        if (!Expect(record, "\"{\"")) return false;
    }
    if (record.token != Token::OpenBrace) return Unexpected(record, name.empty() ? "un nom ou \"{\"" : "\"{\"");
    std::optional<Guid> guid;
    if (tokens_.Peek() == Token::Guid) {
        TokenRecord id;
        // A GUID cut short belongs to the object it opens.
        if (tokens_.Next(id) != TokenReader::Step::Token) return FailFault(" de " + detail::ObjectLabel(type, name));
        guid = id.guid;
    }
    if (builder_.depth() == DocumentBuilder::kMaxDepth)
        return Fail(detail::ObjectLabel(type, name) +
                    detail::Format(" à l'octet %zu dépasse %zu niveaux d'objets imbriqués", identifier.offset,
                                   DocumentBuilder::kMaxDepth));
    builder_.OpenObject(std::move(type), std::move(name), guid);
    openedAt_.push_back(identifier.offset);
    return true;
}

bool ObjectReader::ReadReference()
{
    Reference reference;
    TokenRecord record;
    if (!Expect(record, "un nom ou un GUID")) return false;
    if (record.token == Token::Name) {
        reference.name = std::string(record.text);
        if (!Expect(record, "un GUID ou \"}\"")) return false;
        if (record.token != Token::Guid && record.token != Token::CloseBrace)
            return Unexpected(record, "un GUID ou \"}\"");
    } else if (record.token != Token::Guid) {
        return Unexpected(record, "un nom ou un GUID");
    }
    if (record.token == Token::Guid) {
        reference.guid = record.guid;
        if (!Expect(record, "\"}\"")) return false;
        if (record.token != Token::CloseBrace) return Unexpected(record, "\"}\"");
    }
    builder_.AddReference(std::move(reference));
    return true;
}

bool ObjectReader::SkipTemplate()
{
    TokenRecord record;
    if (!Expect(record, "le nom du modèle")) return false;
    if (record.token != Token::Name) return Unexpected(record, "le nom du modèle");
    inTemplate_ = record.text.empty() ? std::string("?") : std::string(record.text);
    if (!Expect(record, "\"{\"")) return false;
    if (record.token != Token::OpenBrace) return Unexpected(record, "\"{\"");
    // Members, restrictions and GUIDs: nothing to keep. Braces are only
    // counted, so no nesting costs memory.
    for (std::size_t depth = 1; depth > 0;) {
        if (!Expect(record, "\"}\"")) return false;
        if (record.token == Token::OpenBrace) ++depth;
        if (record.token == Token::CloseBrace) --depth;
    }
    inTemplate_.clear();
    return true;
}

}  // namespace

namespace {

bool ReadObjects(std::span<const std::uint8_t> file, FileBytes* consumable, ArrivingBytes* arriving,
                 Document& document, std::string& error)
{
    document = Document{};
    if (arriving != nullptr && arriving->WaitFor(kHeaderSize) < kHeaderSize) {
        error = detail::LoadError("les données s'arrêtent avant la fin de l'en-tête", kOperation);
        return false;
    }
    FileHeader header;
    if (!ReadHeader(file, header, error)) return false;
    if (header.encoding != Encoding::Binary || header.compressed) {
        error = detail::LoadError("ce fichier .x n'est pas un fichier binaire non compressé (format \"bin \" attendu)",
                                  kOperation);
        return false;
    }
    // Values and parts are indexed in 32 bits.
    if (file.size() - kHeaderSize > std::numeric_limits<std::uint32_t>::max()) {
        error = detail::LoadError("les données binaires du fichier font 4 Go ou plus", kOperation);
        return false;
    }
    return detail::RefusingOutOfMemory(kOperation, error, [&] {
        Document read;
        if (arriving != nullptr)
            ReserveAtMost(file.size() - kHeaderSize, header.floatBytes, read);
        else
            ReserveValues(file, header.floatBytes, read);
        ObjectReader reader(file, header.floatBytes, read, consumable, arriving);
        if (!reader.Read(error)) return false;
        document = std::move(read);
        return true;
    });
}

}  // namespace

bool ReadBinaryObjects(std::span<const std::uint8_t> file, Document& document, std::string& error)
{
    return ReadObjects(file, nullptr, nullptr, document, error);
}

bool ReadBinaryObjects(FileBytes&& file, Document& document, std::string& error)
{
    FileBytes owned = std::move(file);
    return ReadObjects(owned, &owned, nullptr, document, error);
}

bool ReadArrivingBinaryObjects(FileBytes& file, ArrivingBytes& arriving, Document& document, std::string& error)
{
    return ReadObjects(file, &file, &arriving, document, error);
}

}  // namespace xfile
