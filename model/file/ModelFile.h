// Reading a ".x" file of any of its forms into a Model: text ("txt"),
// binary ("bin", 32- or 64-bit floats), and either of them compressed
// ("tzip", "bzip"). The form is told by the file's first 16 bytes; anything
// else goes to the text reader, which refuses it with its header message.
// Meshes come out in opacity order; a refused file gives nothing, its
// message shown through the message sink.
#pragma once

#include "model/Model.h"

#include <optional>
#include <string>
#include <string_view>

std::optional<Model> ReadModelFile(const std::string& path);
// The same from bytes in memory; `path` names them in messages.
std::optional<Model> ReadModelBytes(const std::string& path, std::string_view bytes);
