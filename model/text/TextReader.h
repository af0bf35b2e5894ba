// The reader of ".x" files in text form ("xof 0303txt 0032"): a file, or its
// bytes already in memory, in; the Model it describes, meshes in opacity
// order, or why not out. A refusal holds what the user is to be told, and
// nothing half-read is kept.
#pragma once

#include "model/LoadError.h"
#include "model/Model.h"
#include "model/SourceFile.h"

#include <string>
#include <string_view>

// `path` also names the file in messages and is kept as the model's source.
ModelOrError ReadTextFile(const std::string& path);
// The same from a file already open, read from where it stands to its end.
ModelOrError ReadTextFile(const std::string& path, const SourceFile& file);
ModelOrError ReadTextBytes(const std::string& path, std::string_view bytes);
