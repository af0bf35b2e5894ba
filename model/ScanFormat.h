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

// One conversion of a field at the start of `rest`; on success `rest` moves
// past what was read. On failure neither `rest` nor `value` change.
bool ScanIntField(std::string_view& rest, std::int32_t& value);
bool ScanFloatField(std::string_view& rest, float& value);

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
