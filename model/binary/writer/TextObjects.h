// Reads the data objects of a simple ".x" text file, the subset exporters
// write: the header line, templates (skipped), objects with optional names
// (a name in parentheses too, "Animation (Bip01) {") and GUIDs, numbers
// separated by ";" and ",", quoted strings, "{ Name }" references and nested
// objects. With WriteBinary and CompressMszip it turns
// a text file into its binary and compressed twins.
#pragma once

#include "model/binary/Document.h"

#include <string>
#include <string_view>
#include <vector>

namespace xfile {

struct TextConversion {
    // A number is a float when it holds a '.' or an exponent, an integer
    // otherwise (negative ones keep their 32 bits). The values of the keys
    // of an "AnimationKey" are always floats, as its template declares them
    // and as exporters write them in binary files. In objects of these
    // types every number is a float, for files that write "1;" for 1.0
    // (e.g. "Material", "FrameTransformMatrix").
    std::vector<std::string> floatObjects;
};

// Refuses, with a message naming the line in `error` and `document` empty,
// text outside that subset.
bool ReadTextObjects(std::string_view text, Document& document, std::string& error,
                     const TextConversion& conversion = {});

}  // namespace xfile
