// The reader of ".x" files in text form ("xof 0303txt 0032"): a file, or its
// bytes already in memory, in; the Model it describes, meshes in opacity
// order, or nothing out. Whatever is refused has been told to the user
// through the message sink, and nothing half-read is kept.
#pragma once

#include "model/Model.h"
#include "model/SourceFile.h"

#include <optional>
#include <string>
#include <string_view>

// `path` also names the file in messages and is kept as the model's source.
std::optional<Model> ReadTextFile(const std::string& path);
// The same from a file already open, read from where it stands to its end.
std::optional<Model> ReadTextFile(const std::string& path, const SourceFile& file);
std::optional<Model> ReadTextBytes(const std::string& path, std::string_view bytes);
