// Writes a Document as a binary ".x" file.
#pragma once

#include "model/binary/Document.h"

#include <cstdint>
#include <vector>

namespace xfile {

// The binary file of `document`: header ("0032" or "0064" as `floatBytes`
// is 4 or 8), then every object, no template. Each part is one record (a
// list, a string and its ";", a reference); objects nest as in the document.
std::vector<std::uint8_t> WriteBinary(const Document& document, unsigned floatBytes = 4);

}  // namespace xfile
