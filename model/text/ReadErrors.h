// The messages of a ".x" file whose counts or indices cannot be right. Each
// names the object, the file's own line number and the operation that speaks.
#pragma once

#include "model/text/TextWalk.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace reading {

// A count read on `line` that is negative or exceeds the lines that follow.
HRESULT ReportBadCount(const TextReader& reader, const std::string& object, std::int32_t count, std::int32_t line,
                       const char* operation);
// A face whose corner count cannot fit on its line.
HRESULT ReportBadCornerCount(const TextReader& reader, const std::string& object, std::int32_t count, std::int32_t line,
                             const char* operation);
// An index that names no element: `kind` is what it indexes ("sommet", "matériau"),
// `available` how many there are.
HRESULT ReportBadIndex(const TextReader& reader, const std::string& object, const char* kind, const char* kindPlural,
                       std::int32_t index, std::int32_t available, std::int32_t line, const char* operation);

}  // namespace reading
