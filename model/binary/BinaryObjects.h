// The data objects of a binary ".x" file ("xof 0303bin 0032" or "0064").
#pragma once

#include "model/binary/Document.h"
#include "model/binary/Mszip.h"
#include "model/binary/TokenReader.h"

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
// The same for bytes the caller gives up (`file` is left empty): the pages
// already read go back to the system as the reading moves on, so that a
// large file and its objects never stand whole in memory side by side.
bool ReadBinaryObjects(FileBytes&& file, Document& document, std::string& error);
// The same for a file still being written by another thread: `file` holds
// its whole size, and its bytes are read only once `arriving` says they
// stand ready; the pages read go back to the system as the reading moves
// on. `file` itself is neither grown nor moved.
bool ReadArrivingBinaryObjects(FileBytes& file, ArrivingBytes& arriving, Document& document, std::string& error);

}  // namespace xfile
