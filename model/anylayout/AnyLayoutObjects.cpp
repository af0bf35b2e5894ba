#include "model/anylayout/AnyLayoutObjects.h"

#include "model/binary/DocumentBuilder.h"
#include "model/binary/Refusal.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "platform/AsciiCase.h"
#include "platform/Messages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

namespace xfile {

namespace {

constexpr const char* kOperation = "xfile::ReadTextObjectsAnyLayout";

// What a byte is to the walk.
enum : std::uint8_t { kBlank = 1, kSeparator = 2, kNameStop = 4 };
constexpr std::array<std::uint8_t, 256> kClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (const char c : {' ', '\t', '\r', '\n', '\v', '\f'}) classes[static_cast<unsigned char>(c)] = kBlank | kNameStop;
    for (const char c : {';', ','}) classes[static_cast<unsigned char>(c)] = kSeparator | kNameStop;
    for (const char c : {'{', '}', '"', '<'}) classes[static_cast<unsigned char>(c)] = kNameStop;
    return classes;
}();

bool Is(char c, std::uint8_t kind) { return (kClasses[static_cast<unsigned char>(c)] & kind) != 0; }

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
    if (!hex(0, 8, guid.data1) || !hex(9, 4, value)) return std::nullopt;
    guid.data2 = static_cast<std::uint16_t>(value);
    if (!hex(14, 4, value)) return std::nullopt;
    guid.data3 = static_cast<std::uint16_t>(value);
    for (std::size_t i = 0; i < 8; ++i) {
        if (!hex(i < 2 ? 19 + 2 * i : 24 + 2 * (i - 2), 2, value)) return std::nullopt;
        guid.data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

// The walk over the tokens of the body, building the document as it goes.
class TokenWalk {
public:
    TokenWalk(std::string_view text, std::size_t start, Document& document, std::string& error)
        : text_(text), at_(text.data() + start), end_(text.data() + text.size()), builder_(document), error_(error)
    {
    }

    bool Run()
    {
        for (;;) {
            SkipSpace();
            if (at_ == end_) break;
            const char c = *at_;
            if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
                if (!Number()) return false;
                continue;
            }
            bool ok = true;
            switch (c) {
            case '{': ok = Reference(); break;
            case '}': Close(); break;
            case '"': ok = String(); break;
            case '<': ok = Fail(at_, "un GUID hors de l'en-tête d'un objet"); break;
            default: ok = Object(); break;
            }
            if (!ok) return false;
        }
        Flush();
        if (const DataObject* open = builder_.current())
            return Fail(end_, "le fichier se termine dans " + detail::ObjectLabel(open->type, open->name));
        return true;
    }

private:
    // Values of one kind wait here and join the document in runs.
    static constexpr std::size_t kBatch = 4096;

    bool Fail(const char* where, const std::string& what)
    {
        const auto line = 1 + std::count(text_.data(), where, '\n');
        error_ = detail::LoadError(what + " à la ligne " + std::to_string(line), kOperation);
        return false;
    }

    bool AtComment() const { return *at_ == '#' || (*at_ == '/' && at_ + 1 < end_ && at_[1] == '/'); }

    // Blanks, separators and comments.
    void SkipSpace()
    {
        for (;;) {
            const char* at = at_;  // kept in a register: the loop writes nothing else
            while (at < end_ && Is(*at, kBlank | kSeparator)) ++at;
            at_ = at;
            if (at_ == end_ || !AtComment()) return;
            const void* lineEnd = std::memchr(at_, '\n', static_cast<std::size_t>(end_ - at_));
            at_ = lineEnd != nullptr ? static_cast<const char*>(lineEnd) : end_;
        }
    }

    // A type or a name: "(…)" up to its ")" on the same line, else a run of
    // bytes up to a blank, a delimiter or a "//" comment.
    std::string_view Name()
    {
        const char* const start = at_;
        if (*at_ == '(') {
            const char* close = at_ + 1;
            while (close < end_ && *close != ')' && *close != '\n' && *close != '{' && *close != '}') ++close;
            if (close < end_ && *close == ')') {
                at_ = close + 1;
                return {start, static_cast<std::size_t>(at_ - start)};
            }
        }
        while (at_ < end_ && !Is(*at_, kNameStop) && !(*at_ == '/' && at_ + 1 < end_ && at_[1] == '/')) ++at_;
        return {start, static_cast<std::size_t>(at_ - start)};
    }

    bool AtNameStart() const { return at_ < end_ && !Is(*at_, kNameStop); }

    // "<…>" at `at_`.
    bool ReadGuid(std::optional<Guid>& guid)
    {
        const char* const open = at_;
        const void* close = std::memchr(at_, '>', static_cast<std::size_t>(end_ - at_));
        if (close == nullptr) return Fail(open, "un GUID sans \">\" final");
        at_ = static_cast<const char*>(close) + 1;
        std::string_view inside(open + 1, static_cast<std::size_t>(at_ - 1 - (open + 1)));
        while (!inside.empty() && Is(inside.front(), kBlank)) inside.remove_prefix(1);
        while (!inside.empty() && Is(inside.back(), kBlank)) inside.remove_suffix(1);
        guid = ParseGuid(inside);
        return guid ? true : Fail(open, "un GUID illisible");
    }

    // Bytes that may follow a number.
    bool AtNumberEnd() const
    {
        return at_ == end_ || Is(*at_, kBlank | kSeparator) || *at_ == '}' || *at_ == '{' ||
               (*at_ == '/' && at_ + 1 < end_ && at_[1] == '/');
    }

    // Most of a file: inlined into the walk's loop.
    [[gnu::always_inline]] bool Number()
    {
        const char* const start = at_;
        if (builder_.depth() == 0) return Fail(start, "un nombre hors de tout objet");
        const bool negative = *at_ == '-';
        const char* const digits = at_ + (negative || *at_ == '+' ? 1 : 0);
        std::uint64_t value = 0;
        const char* at = scan_detail::AccumulateDigits(digits, end_, value);
        const std::size_t whole = static_cast<std::size_t>(at - digits);
        const bool exponent = at < end_ && (*at == 'e' || *at == 'E');
        // Unsigned digits that fit 32 bits are an integer; a negative one is
        // a float, so that a float field reads it with its sign.
        if (!negative && !exponent && (at == end_ || *at != '.') && whole > 0 && whole <= 10 &&
            value <= std::numeric_limits<std::uint32_t>::max()) {
            at_ = at;
            if (!AtNumberEnd()) return Fail(start, "un nombre illisible");
            Push(PartKind::Integers, static_cast<std::uint32_t>(value));
            return true;
        }
        // Short decimals straight from the digits read, as ScanFloatField
        // reads them; anything else through it.
        std::size_t decimals = 0;
        if (at < end_ && *at == '.') {
            const char* const fraction = at + 1;
            at = scan_detail::AccumulateDigits(fraction, end_, value);
            decimals = static_cast<std::size_t>(at - fraction);
        }
        float number = 0;
        const std::size_t digitCount = whole + decimals;
        if (digitCount > 0 && digitCount <= 18 && decimals <= 10 && value <= (std::uint64_t{1} << 24) &&
            (at == end_ || (*at != 'e' && *at != 'E'))) {
            const float magnitude = scan_detail::DecimalToFloat(value, decimals);
            number = negative ? -magnitude : magnitude;
            at_ = at;
        } else {
            std::string_view rest(start, static_cast<std::size_t>(end_ - start));
            if (!ScanFloatField(rest, number)) return Fail(start, "un nombre illisible");
            at_ = rest.data();
        }
        if (!AtNumberEnd()) return Fail(start, "un nombre illisible");
        std::uint32_t bits = 0;
        std::memcpy(&bits, &number, sizeof bits);
        Push(PartKind::Floats, bits);
        return true;
    }

    void Push(PartKind kind, std::uint32_t bits)
    {
        if (pendingCount_ == kBatch || (pendingCount_ > 0 && kind != pendingKind_)) Flush();
        pendingKind_ = kind;
        pending_[pendingCount_++] = bits;
    }

    void Flush()
    {
        if (pendingCount_ == 0) return;
        void* const out = pendingKind_ == PartKind::Integers
                              ? static_cast<void*>(builder_.AppendIntegers(pendingCount_).data())
                              : static_cast<void*>(builder_.AppendFloats(pendingCount_).data());
        std::memcpy(out, pending_.data(), pendingCount_ * sizeof(std::uint32_t));
        pendingCount_ = 0;
    }

    bool String()
    {
        const char* const open = at_;
        const void* close = std::memchr(at_ + 1, '"', static_cast<std::size_t>(end_ - at_ - 1));
        if (close == nullptr) return Fail(open, "une chaîne sans guillemet final");
        if (builder_.depth() == 0) return Fail(open, "une chaîne hors de tout objet");
        at_ = static_cast<const char*>(close) + 1;
        Flush();
        builder_.AddString(std::string(open + 1, at_ - 1));
        return true;
    }

    // "{ Name }", "{ <GUID> }" or "{ Name <GUID> }".
    bool Reference()
    {
        const char* const open = at_++;
        xfile::Reference reference;
        SkipSpace();
        if (AtNameStart()) reference.name = std::string(Name());
        SkipSpace();
        if (at_ < end_ && *at_ == '<' && !ReadGuid(reference.guid)) return false;
        SkipSpace();
        if (at_ == end_ || *at_ != '}' || (reference.name.empty() && !reference.guid))
            return Fail(open, "une référence mal formée");
        ++at_;
        if (builder_.depth() == 0) return Fail(open, "une référence hors de tout objet");
        Flush();
        builder_.AddReference(std::move(reference));
        return true;
    }

    void Close()
    {
        if (builder_.depth() == 0) {
            // Some exporters write one "}" too many between objects.
            if (!strayTraced_) {
                const auto line = 1 + std::count(text_.data(), at_, '\n');
                platform::Trace("} en trop ignorée à la ligne " + std::to_string(line) + "\n");
                strayTraced_ = true;
            }
        } else {
            Flush();
            builder_.CloseObject();
        }
        ++at_;
    }

    // "Type [name] { [<GUID>]" opens an object; "template …" is skipped whole.
    bool Object()
    {
        const char* const start = at_;
        const std::string_view type = Name();
        if (platform::EqualIgnoringAsciiCase(type, "template")) return SkipTemplate(start);
        SkipSpace();
        std::string_view name;
        if (AtNameStart()) {
            name = Name();
            SkipSpace();
        }
        if (at_ == end_ || *at_ != '{')
            return Fail(start, "\"{\" manque après " + detail::ObjectLabel(type, name));
        ++at_;
        SkipSpace();
        std::optional<Guid> guid;
        if (at_ < end_ && *at_ == '<' && !ReadGuid(guid)) return false;
        Flush();
        if (!builder_.OpenObject(std::string(type), std::string(name), guid))
            return Fail(start, detail::ObjectLabel(type, name) + " dépasse 255 niveaux d'objets imbriqués");
        return true;
    }

    // A template declares the layout of its objects; the walk needs none.
    bool SkipTemplate(const char* start)
    {
        std::size_t depth = 0;
        while (at_ < end_) {
            if (AtComment()) {
                SkipSpace();
                continue;
            }
            const char c = *at_++;
            if (c == '{') ++depth;
            if (c == '}' && depth > 0 && --depth == 0) return true;
        }
        return Fail(start, "le fichier se termine dans une déclaration de modèle");
    }

    std::string_view text_;
    const char* at_;
    const char* const end_;
    DocumentBuilder builder_;
    std::string& error_;
    std::array<std::uint32_t, kBatch> pending_;
    PartKind pendingKind_ = PartKind::Integers;
    std::size_t pendingCount_ = 0;
    bool strayTraced_ = false;
};

}  // namespace

bool ReadTextHeaderLine(std::string_view text, TextHeaderLine& header)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineEnd = std::min(text.find('\n', start), text.size());
        std::size_t first = start, last = lineEnd;
        if (last > first && text[last - 1] == '\r') --last;
        while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
        while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
        const std::string_view line = text.substr(first, last - first);
        start = lineEnd + 1;
        if (line.empty() || line[0] == '#' || line.starts_with("//")) continue;
        TextHeaderWords words;
        if (!ReadTextHeaderWords(line, words)) return false;
        header = TextHeaderLine{words.versionMajor, words.versionMinor, words.floatSize,
                                static_cast<std::size_t>(words.lastWord.data() + words.lastWord.size() - text.data())};
        return true;
    }
    return false;
}

bool ReadTextObjectsAnyLayout(std::span<const std::uint8_t> text, Document& document, std::string& error)
{
    document = Document{};
    const std::string_view chars(reinterpret_cast<const char*>(text.data()), text.size());
    TextHeaderLine header;
    if (!ReadTextHeaderLine(chars, header)) {
        error = detail::LoadError("ce fichier n'est pas un fichier DirectX .x texte : sa première ligne n'est pas "
                                  "un en-tête \"xof 0303txt 0032\"",
                                  kOperation);
        return false;
    }
    return detail::RefusingOutOfMemory(kOperation, error, [&] {
        Document read;
        // Room for a number every 8 bytes, in address space only: pages
        // are taken as values arrive, and the arrays seldom have to move.
        const std::size_t room = (chars.size() - header.bodyOffset) / 8;
        read.integers.reserve(room);
        read.floats.reserve(room);
        TokenWalk walk(chars, header.bodyOffset, read, error);
        if (!walk.Run()) return false;
        document = std::move(read);
        return true;
    });
}

}  // namespace xfile
