#include "model/binary/writer/TextObjects.h"

#include "model/binary/DocumentBuilder.h"
#include "model/binary/Refusal.h"
#include "model/binary/XFileHeader.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <stdexcept>
#include <cstdint>
#include <optional>

namespace xfile {

namespace {

constexpr const char* kOperation = "xfile::ReadTextObjects";

enum class Kind { End, Word, Parenthesised, Number, String, Guid, Open, Close, Separator, Bad };

struct Lexeme {
    Kind kind = Kind::End;
    std::string_view text;
    std::size_t offset = 0;
};

class Lexer {
public:
    Lexer(std::string_view text, std::size_t start) : text_(text), position_(start) {}

    Lexeme Next()
    {
        SkipBlanks();
        Lexeme lexeme;
        lexeme.offset = position_;
        if (position_ == text_.size()) return lexeme;
        const char c = text_[position_];
        auto take = [&](Kind kind, std::size_t length) {
            lexeme.kind = kind;
            lexeme.text = text_.substr(position_, length);
            position_ += length;
            return lexeme;
        };
        if (c == '{') return take(Kind::Open, 1);
        if (c == '}') return take(Kind::Close, 1);
        if (c == ';' || c == ',') return take(Kind::Separator, 1);
        if (c == '(') {
            // A name some exporters give an animation: "Animation (Bip01) {".
            const std::size_t end = text_.find_first_of(")\n{}", position_ + 1);
            if (end == std::string_view::npos || text_[end] != ')') return take(Kind::Bad, 1);
            return take(Kind::Parenthesised, end + 1 - position_);
        }
        if (c == '"' || c == '<') {
            const std::size_t end = text_.find(c == '"' ? '"' : '>', position_ + 1);
            if (end == std::string_view::npos) return take(Kind::Bad, 1);
            lexeme = take(c == '"' ? Kind::String : Kind::Guid, end + 1 - position_);
            lexeme.text = lexeme.text.substr(1, lexeme.text.size() - 2);
            return lexeme;
        }
        if (IsNumberStart(c)) return take(Kind::Number, Span(position_, "0123456789.eE+-"));
        if (IsWordStart(c)) return take(Kind::Word, Span(position_, nullptr));
        return take(Kind::Bad, 1);
    }

    Lexeme Peek()
    {
        const std::size_t saved = position_;
        const Lexeme lexeme = Next();
        position_ = saved;
        return lexeme;
    }

    // 1-based line of `offset`, for messages.
    std::size_t LineOf(std::size_t offset) const
    {
        return 1 + static_cast<std::size_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    }

private:
    static bool IsNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }
    static bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

    // Length of the run from `from` of characters in `set` (word characters when null).
    std::size_t Span(std::size_t from, const char* set) const
    {
        std::size_t end = from;
        while (end < text_.size() &&
               (set != nullptr ? std::string_view(set).find(text_[end]) != std::string_view::npos : IsWordChar(text_[end])))
            ++end;
        return end - from;
    }

    void SkipBlanks()
    {
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++position_;
            } else if (c == '#' || (c == '/' && position_ + 1 < text_.size() && text_[position_ + 1] == '/')) {
                const std::size_t end = text_.find('\n', position_);
                position_ = end == std::string_view::npos ? text_.size() : end;
            } else {
                break;
            }
        }
    }

    std::string_view text_;
    std::size_t position_;
};

std::optional<Guid> ParseGuid(std::string_view text)
{
    // xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return std::nullopt;
    auto hex = [&](std::size_t at, std::size_t digits, std::uint32_t& value) {
        const auto result = std::from_chars(text.data() + at, text.data() + at + digits, value, 16);
        return result.ec == std::errc() && result.ptr == text.data() + at + digits;
    };
    Guid guid;
    std::uint32_t value = 0;
    if (!hex(0, 8, guid.data1)) return std::nullopt;
    if (!hex(9, 4, value)) return std::nullopt;
    guid.data2 = static_cast<std::uint16_t>(value);
    if (!hex(14, 4, value)) return std::nullopt;
    guid.data3 = static_cast<std::uint16_t>(value);
    for (std::size_t i = 0; i < 8; ++i) {
        if (!hex(i < 2 ? 19 + 2 * i : 24 + 2 * (i - 2), 2, value)) return std::nullopt;
        guid.data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

class TextReader {
public:
    TextReader(std::string_view text, std::size_t start, Document& document, const TextConversion& conversion)
        : lexer_(text, start), builder_(document), conversion_(conversion)
    {
    }

    bool Read(std::string& error)
    {
        for (;;) {
            const Lexeme lexeme = lexer_.Next();
            const bool inObject = builder_.depth() > 0;
            bool ok = true;
            switch (lexeme.kind) {
            case Kind::End:
                if (inObject) return Fail(lexeme, "le fichier se termine dans un objet", error);
                return true;
            case Kind::Word:
                ok = !inObject && lexeme.text == "template" ? SkipTemplate(error) : ReadObject(lexeme, error);
                break;
            case Kind::Open:
                ok = inObject ? ReadReference(error) : Fail(lexeme, "une référence hors de tout objet", error);
                break;
            case Kind::Close:
                if (!inObject) return Fail(lexeme, "un \"}\" ne ferme aucun objet", error);
                builder_.CloseObject();
                break;
            case Kind::Number:
                ok = inObject ? ReadNumber(lexeme, error) : Fail(lexeme, "un nombre hors de tout objet", error);
                break;
            case Kind::String:
                if (!inObject) return Fail(lexeme, "une chaîne hors de tout objet", error);
                builder_.AddString(std::string(lexeme.text));
                break;
            case Kind::Separator:
                break;
            case Kind::Guid:
            case Kind::Parenthesised:
            case Kind::Bad:
                return Fail(lexeme, "un caractère inattendu", error);
            }
            if (!ok) return false;
        }
    }

private:
    bool Fail(const Lexeme& lexeme, const char* what, std::string& error)
    {
        error = detail::LoadError(detail::Format("%s à la ligne %zu", what, lexer_.LineOf(lexeme.offset)), kOperation);
        return false;
    }

    bool ReadObject(const Lexeme& type, std::string& error)
    {
        std::string name;
        Lexeme next = lexer_.Next();
        if (next.kind == Kind::Word || next.kind == Kind::Parenthesised) {
            name = std::string(next.text);
            next = lexer_.Next();
        }
        if (next.kind != Kind::Open) return Fail(next, "\"{\" manque après le type d'un objet", error);
        std::optional<Guid> guid;
        if (lexer_.Peek().kind == Kind::Guid) {
            const Lexeme id = lexer_.Next();
            guid = ParseGuid(id.text);
            if (!guid) return Fail(id, "un GUID illisible", error);
        }
        if (!builder_.OpenObject(std::string(type.text), std::move(name), guid))
            return Fail(type, "un objet de trop dans 255 niveaux d'objets imbriqués", error);
        keyFields_ = {};
        return true;
    }

    bool ReadReference(std::string& error)
    {
        Reference reference;
        Lexeme next = lexer_.Next();
        if (next.kind == Kind::Word) {
            reference.name = std::string(next.text);
            next = lexer_.Next();
        }
        if (next.kind == Kind::Guid) {
            reference.guid = ParseGuid(next.text);
            if (!reference.guid) return Fail(next, "un GUID illisible", error);
            next = lexer_.Next();
        }
        if (next.kind != Kind::Close || (reference.name.empty() && !reference.guid))
            return Fail(next, "une référence mal formée", error);
        builder_.AddReference(std::move(reference));
        return true;
    }

    bool SkipTemplate(std::string& error)
    {
        Lexeme next = lexer_.Next();
        if (next.kind == Kind::Word) next = lexer_.Next();
        if (next.kind != Kind::Open) return Fail(next, "un modèle sans \"{\"", error);
        for (std::size_t depth = 1; depth > 0;) {
            next = lexer_.Next();
            if (next.kind == Kind::End) return Fail(next, "le fichier se termine dans un modèle", error);
            if (next.kind == Kind::Open) ++depth;
            if (next.kind == Kind::Close) --depth;
        }
        return true;
    }

    bool ReadNumber(const Lexeme& lexeme, std::string& error)
    {
        const std::string_view text = lexeme.text;
        const char* end = text.data() + text.size();
        const bool written = text.find_first_of(".eE") != std::string_view::npos;
        const std::string& type = builder_.current()->type;
        const bool inKey = platform::EqualIgnoringAsciiCase(type, "AnimationKey");
        const bool asFloat =
            written || (inKey && keyFields_.ValueNext()) ||
            std::find(conversion_.floatObjects.begin(), conversion_.floatObjects.end(), type) !=
                conversion_.floatObjects.end();
        if (inKey) keyFields_.Take(text);
        // from_chars takes no leading '+'.
        const char* begin = text.data() + (text.size() > 1 && text[0] == '+' ? 1 : 0);
        if (asFloat) {
            float value = 0;
            const auto result = std::from_chars(begin, end, value);
            if (result.ec != std::errc() || result.ptr != end) return Fail(lexeme, "un nombre illisible", error);
            builder_.AppendFloats(1)[0] = value;
            return true;
        }
        std::int64_t value = 0;
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || result.ptr != end || value < INT32_MIN || value > UINT32_MAX)
            return Fail(lexeme, "un entier illisible ou hors des 32 bits", error);
        builder_.AppendIntegers(1)[0] = static_cast<std::uint32_t>(value);
        return true;
    }

    // Where the numbers of an "AnimationKey" stand: its key type and key
    // count, then per key a time, a value count and that many FLOAT values.
    class KeyFields {
    public:
        bool ValueNext() const { return valuesLeft_ > 0; }
        void Take(std::string_view number)
        {
            if (valuesLeft_ > 0) {
                --valuesLeft_;
            } else if (++field_ == 4) {  // the value count of a key
                std::uint32_t count = 0;
                const auto result = std::from_chars(number.data(), number.data() + number.size(), count);
                valuesLeft_ = result.ec == std::errc() ? count : 0;
                field_ = 2;
            }
        }

    private:
        int field_ = 0;  // fields taken of the key type, key count, time, value count
        std::uint32_t valuesLeft_ = 0;
    };

    Lexer lexer_;
    DocumentBuilder builder_;
    KeyFields keyFields_;
    const TextConversion& conversion_;
};

}  // namespace

bool ReadTextObjects(std::string_view text, Document& document, std::string& error, const TextConversion& conversion)
{
    document = Document{};
    FileHeader header;
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!ReadHeader(bytes, header, error)) return false;
    if (header.encoding != Encoding::Text || header.compressed) {
        error = detail::LoadError("ce fichier .x n'est pas un fichier texte (format \"txt \" attendu)", kOperation);
        return false;
    }
    // The header line may go on past its 16 bytes.
    const std::size_t lineEnd = text.find('\n', kHeaderSize);
    return detail::RefusingOutOfMemory(kOperation, error, [&] {
        Document read;
        TextReader reader(text, lineEnd == std::string_view::npos ? text.size() : lineEnd, read, conversion);
        if (!reader.Read(error)) return false;
        document = std::move(read);
        return true;
    });
}

}  // namespace xfile
