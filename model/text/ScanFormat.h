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

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <variant>

namespace scan_detail {

// The C locale's white space: space, \t, \n, \v, \f, \r.
inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

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

// The digits at the start of [at, end) added to `value` (wrapping past 64
// bits; callers count the digits); returns the end of the digits.
inline const char* AccumulateDigits(const char* at, const char* end, std::uint64_t& value)
{
    for (; at < end && IsDigit(*at); ++at) value = value * 10 + static_cast<std::uint64_t>(*at - '0');
    return at;
}

// digits / 10^decimals rounded once to float, as strtof rounds it. The
// product with the double nearest 10^-decimals lies within two units of the
// last place (of a double) from the exact quotient, so its rounding to float
// is the right one unless it falls that close to a halfway point between two
// floats; those rare cases take the exact float division (both operands are
// exact floats, so IEEE division rounds the exact quotient).
inline float DecimalToFloat(std::uint64_t digits, std::size_t decimals)
{
    static constexpr double kInversePowers[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9, 1e-10};
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const double product = static_cast<double>(digits) * kInversePowers[decimals];
    std::uint64_t bits;
    std::memcpy(&bits, &product, sizeof bits);
    // The 29 bits a float drops from a double's significand; halfway is 1 << 28.
    const std::uint64_t dropped = bits & ((std::uint64_t{1} << 29) - 1);
    constexpr std::uint64_t kHalfway = std::uint64_t{1} << 28;
    if (dropped + 4 >= kHalfway && dropped <= kHalfway + 4)
        return static_cast<float>(digits) / kPowers[decimals];
    return static_cast<float>(product);
}

// Plain decimals of at most 24 bits of digits and ten decimals ("0.123456",
// "-12.5"), read to the value strtof gives. Anything else (exponents, longer
// numbers, inf, nan) returns false and is left to the general conversion.
[[gnu::always_inline]] inline bool ScanShortDecimal(std::string_view text, bool negative, float& value, std::size_t& used)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::uint64_t digits = 0;
    const char* at = AccumulateDigits(begin, end, digits);
    std::size_t digitCount = static_cast<std::size_t>(at - begin);
    std::size_t decimals = 0;
    if (at < end && *at == '.') {
        const char* const fraction = at + 1;
        at = AccumulateDigits(fraction, end, digits);
        decimals = static_cast<std::size_t>(at - fraction);
        digitCount += decimals;
    }
    if (digitCount == 0 || digitCount > 18 || decimals > 10 || digits > (std::uint64_t{1} << 24)) return false;
    if (at < end && (*at == 'e' || *at == 'E')) return false;
    const float magnitude = DecimalToFloat(digits, decimals);
    value = negative ? -magnitude : magnitude;
    used = static_cast<std::size_t>(at - begin);
    return true;
}

bool ScanGeneralFloat(std::string_view& rest, float& value);

}  // namespace scan_detail

// One conversion of a field at the start of `rest`; on success `rest` moves
// past what was read. On failure neither `rest` nor `value` change.
[[gnu::always_inline]] inline bool ScanIntField(std::string_view& rest, std::int32_t& value)
{
    using namespace scan_detail;
    std::string_view text = SkipSpace(rest);
    const bool negative = TakeSign(text);
    const char* const begin = text.data();
    const char* significant = begin;
    while (significant < begin + text.size() && *significant == '0') ++significant;
    std::uint64_t magnitude = 0;
    const char* const end = AccumulateDigits(significant, begin + text.size(), magnitude);
    const std::size_t used = static_cast<std::size_t>(end - begin);
    if (used == 0) return false;
    // Beyond what 32 bits hold the value saturates.
    constexpr std::uint64_t kLargest = std::uint64_t{1} << 31;
    if (end - significant > 18 || magnitude > kLargest) magnitude = kLargest;
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                     : static_cast<std::int32_t>(std::min<std::uint64_t>(magnitude, kLargest - 1));
    rest = text.substr(used);
    return true;
}

[[gnu::always_inline]] inline bool ScanFloatField(std::string_view& rest, float& value)
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
