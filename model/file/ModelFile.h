// Reading a ".x" file of any of its forms into a Model: text ("txt"),
// binary ("bin", 32- or 64-bit floats), and either of them compressed
// ("tzip", "bzip"). The form is told by the file's first 16 bytes; anything
// else goes to the text reader, which refuses it with its header message.
// Meshes come out in opacity order; a file that does not load gives why,
// with what the user is to be told: nothing is shown here.
#pragma once

#include "model/LoadError.h"
#include "model/Model.h"

#include <string>
#include <string_view>

struct ReadOptions {
    // Text in any layout the format allows: a text file (or compressed text
    // file) the line reader refuses is read again by the reader of any
    // layout, and the line reader's messages are dropped when it reads it.
    bool anyLayout = false;
};

ModelOrError ReadModelFile(const std::string& path, const ReadOptions& options = {});
// The same from bytes in memory; `path` names them in messages.
ModelOrError ReadModelBytes(const std::string& path, std::string_view bytes, const ReadOptions& options = {});
