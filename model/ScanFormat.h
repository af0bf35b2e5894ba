// Number reading with the semantics of C scanf, for the few formats the
// ".x" reader uses ("%d;", "%f;%f;%f;", "%d" ...), without the C library's
// per-call cost:
// - %d and %f skip leading white space and accept an optional sign;
// - %d reads decimal digits (values beyond 32 bits saturate);
// - %f reads what strtof reads in files: decimals, exponents, inf, nan
//   (hexadecimal floats are not read: "0x1p3" gives 0);
// - white space in the format matches any run of white space, even none;
// - any other format character must match the text exactly, or scanning stops;
// - text after the last conversion is ignored.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace scan_detail {

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string_view SkipSpace(std::string_view text)
{
    std::size_t k = 0;
    while (k < text.size() && IsSpace(text[k])) ++k;
    return text.substr(k);
}

// An optional sign; true for a minus.
inline bool TakeSign(std::string_view& text)
{
    if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
    const bool negative = text[0] == '-';
    text.remove_prefix(1);
    return negative;
}

// Plain decimals of at most 24 bits of digits and ten decimals ("0.123456",
// "-12.5"): both the digits and the power of ten are exact floats, so one
// division gives the correctly rounded value strtof gives. Anything else
// (exponents, longer numbers, inf, nan) returns false and is left to the
// general conversion.
inline bool ScanShortDecimal(std::string_view text, bool negative, float& value, std::size_t& used)
{
    static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    std::uint64_t digits = 0;
    std::size_t k = 0, digitCount = 0, decimals = 0;
    for (; k < text.size() && IsDigit(text[k]) && digitCount < 18; ++k, ++digitCount)
        digits = digits * 10 + static_cast<std::uint64_t>(text[k] - '0');
    if (k < text.size() && text[k] == '.') {
        ++k;
        for (; k < text.size() && IsDigit(text[k]) && digitCount < 18; ++k, ++digitCount, ++decimals)
            digits = digits * 10 + static_cast<std::uint64_t>(text[k] - '0');
    }
    if (digitCount == 0 || decimals > 10 || digits > (std::uint64_t{1} << 24)) return false;
    if (k < text.size() && (IsDigit(text[k]) || text[k] == 'e' || text[k] == 'E' || text[k] == '.')) return false;
    const float magnitude = static_cast<float>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    used = k;
    return true;
}

bool ScanGeneralFloat(std::string_view& rest, float& value);

}  // namespace scan_detail

// One conversion of a field at the start of `rest`; on success `rest` moves
// past what was read. On failure neither `rest` nor `value` change.
inline bool ScanIntField(std::string_view& rest, std::int32_t& value)
{
    using namespace scan_detail;
    std::string_view text = SkipSpace(rest);
    const bool negative = TakeSign(text);
    if (text.empty() || !IsDigit(text[0])) return false;
    // Digits beyond what 32 bits hold only keep the value saturated.
    constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    std::size_t used = 0;
    for (; used < text.size() && IsDigit(text[used]); ++used) {
        magnitude = magnitude * 10 + (text[used] - '0');
        if (magnitude > kSaturated) magnitude = kSaturated;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<std::int32_t>(signedValue < INT32_MIN ? INT32_MIN : signedValue > INT32_MAX ? INT32_MAX : signedValue);
    rest = text.substr(used);
    return true;
}

inline bool ScanFloatField(std::string_view& rest, float& value)
{
    using namespace scan_detail;
    std::string_view text = SkipSpace(rest);
    const bool negative = TakeSign(text);
    std::size_t used = 0;
    if (ScanShortDecimal(text, negative, value, used)) {
        rest = text.substr(used);
        return true;
    }
    return ScanGeneralFloat(rest, value);
}

using ScanTarget = std::variant<std::int32_t*, float*>;

// Runs `format` over `text`, storing conversion k into targets[k] (a %d needs
// an int32 target, a %f a float one). Returns the number of conversions
// stored; every target not reached is set to 0, so a short line reads as zeros.
int ScanFormat(std::string_view text, std::string_view format, std::span<const ScanTarget> targets);

template <class... Values>
int Scan(std::string_view text, std::string_view format, Values&... values)
{
    const ScanTarget targets[] = {&values...};
    return ScanFormat(text, format, targets);
}

inline bool ScanField(std::string_view& rest, std::int32_t& value) { return ScanIntField(rest, value); }
inline bool ScanField(std::string_view& rest, float& value) { return ScanFloatField(rest, value); }

// The same as Scan with a format of one conversion per value, each followed by
// `separator` ("%f;%f;%f;" for three floats and ';'), without reading the
// format: for the lines that make up most of a large file.
template <class... Values>
int ScanSeparated(std::string_view text, char separator, Values&... values)
{
    int stored = 0;
    bool going = true;
    auto readOne = [&](auto& value) {
        if (going && ScanField(text, value)) {
            ++stored;
            if (!text.empty() && text[0] == separator)
                text.remove_prefix(1);
            else
                going = false;
            return;
        }
        going = false;
        value = 0;
    };
    (readOne(values), ...);
    return stored;
}
