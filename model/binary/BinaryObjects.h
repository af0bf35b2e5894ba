// The data objects of a binary ".x" file ("xof 0303bin 0032" or "0064").
#pragma once

#include "model/binary/Document.h"

#include <cstdint>
#include <span>
#include <string>

namespace xfile {

// Reads every data object of `file` (header included: a compressed file is
// inflated first, see Mszip.h) into `document`. Templates are skipped.
// Floats of "0064" files are narrowed to float. Refuses, with a message in
// `error` and `document` empty, a file whose tokens are cut, unknown, out
// of place, or nest more than 255 objects deep.
bool ReadBinaryObjects(std::span<const std::uint8_t> file, Document& document, std::string& error);

}  // namespace xfile
