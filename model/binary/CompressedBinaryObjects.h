// The data objects of a compressed binary ".x" file ("bzip"). On several
// cores a large file inflates on one thread while its objects are read on
// the caller's, right behind the inflated bytes; the document and the
// message are those of inflating the whole file first, then reading it: a
// file that does not inflate is refused for that, wherever its objects stop.
#pragma once

#include "model/binary/Document.h"
#include "model/binary/Mszip.h"

#include <cstdint>
#include <span>
#include <string>

namespace xfile {

bool ReadCompressedBinaryObjects(std::span<const std::uint8_t> file, Document& document, std::string& error);
// The same for bytes the caller gives up (`file` is left empty): what each
// step has read goes back to the system as it moves on.
bool ReadCompressedBinaryObjects(FileBytes&& file, Document& document, std::string& error);

}  // namespace xfile
