// The data objects of a ".x" text file read as tokens, whatever its layout:
// several values or a whole object on one line, lists closed by ";;" or ";",
// with commas or without, "#" and "//" comments anywhere, unnamed objects,
// names of any bytes but blanks and delimiters ("(Bip01)", "1stBone"),
// "{ Name }" and "{ Name <GUID> }" references, objects of any template
// (kept in the tree with their children) and template definitions
// (skipped). The tree is the one the binary reader builds (Document.h), so
// that ModelFromObjects gives the Model.
#pragma once

#include "model/binary/Document.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace xfile {

// The values of a text file's first line, "xof 0302txt 0032".
struct TextHeaderLine {
    int versionMajor = 0;
    int versionMinor = 0;
    int floatSize = 0;
    // Where the objects start: after the line's third word.
    std::size_t bodyOffset = 0;
};

// The first significant line (blank and comment lines before it are
// skipped), accepted as the line reader accepts it: at least three words
// split at spaces, "xof" and a second word with "txt" at its fifth to
// seventh characters, case ignored.
bool ReadTextHeaderLine(std::string_view text, TextHeaderLine& header);

// Reads every data object of `text` (header included) into `document`.
// Numbers are integers when written as unsigned decimal digits that fit 32
// bits, floats otherwise (a '.', an exponent, a sign, or more digits). A "}"
// that closes nothing is skipped, and the first one is traced. Refuses,
// with a message naming the line in `error` and `document` empty, a text
// without the header line, a token out of place, a file that ends inside an
// object, or objects nested more than 255 deep.
bool ReadTextObjectsAnyLayout(std::span<const std::uint8_t> text, Document& document, std::string& error);
inline bool ReadTextObjectsAnyLayout(std::string_view text, Document& document, std::string& error)
{
    return ReadTextObjectsAnyLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, document, error);
}

}  // namespace xfile
