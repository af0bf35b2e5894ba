#include "model/text/ScanFormat.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

namespace scan_detail {

bool ScanGeneralFloat(std::string_view& rest, float& value)
{
    std::string_view text = SkipSpace(rest);
    const char* const start = text.data();
    // from_chars takes a leading minus but no plus.
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text[0] == '+' || text[0] == '-')) return false;
    }
    float parsed = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error == std::errc::invalid_argument) return false;
    if (error == std::errc::result_out_of_range) {
        // Overflow and underflow: let strtof pick infinity, zero or a denormal.
        const std::string number(start, end);
        parsed = std::strtof(number.c_str(), nullptr);
    }
    value = parsed;
    rest = text.substr(static_cast<std::size_t>(end - text.data()));
    return true;
}

}  // namespace scan_detail

int ScanFormat(std::string_view text, std::string_view format, std::span<const ScanTarget> targets)
{
    std::size_t stored = 0;
    std::size_t f = 0;
    while (f < format.size()) {
        const char directive = format[f];
        if (scan_detail::IsSpace(directive)) {
            text = scan_detail::SkipSpace(text);
            ++f;
            continue;
        }
        if (directive != '%' || f + 1 >= format.size() || format[f + 1] == '%') {
            const char literal = directive;
            if (text.empty() || text[0] != literal) break;
            text.remove_prefix(1);
            f += directive == '%' ? 2 : 1;
            continue;
        }
        if (stored >= targets.size()) break;
        const char conversion = format[f + 1];
        f += 2;
        bool read = false;
        if (conversion == 'd' && std::holds_alternative<std::int32_t*>(targets[stored])) {
            read = ScanIntField(text, *std::get<std::int32_t*>(targets[stored]));
        } else if (conversion == 'f' && std::holds_alternative<float*>(targets[stored])) {
            read = ScanFloatField(text, *std::get<float*>(targets[stored]));
        }
        if (!read) break;
        ++stored;
    }
    for (std::size_t k = stored; k < targets.size(); ++k) std::visit([](auto* target) { *target = 0; }, targets[k]);
    return static_cast<int>(stored);
}
