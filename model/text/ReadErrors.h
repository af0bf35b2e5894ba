// Safe line access and the messages of a ".x" file whose counts or indices
// cannot be right. Each message names the object, the file's own line number
// and the operation that speaks.
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace reading {

// Line `line` of the model, which must exist; inline for the readers' loops.
inline std::string_view LineAt(const Model& model, std::int32_t line)
{
    const Model::LineSpan span = model.lines[static_cast<std::size_t>(line)];
    return std::string_view(model.text.data() + span.begin, span.length);
}

// Line `line` of the model, or an empty text past the last line (its values
// then read as zeros).
inline std::string_view LineOrEmpty(const Model& model, std::int32_t line)
{
    return line >= 0 && line < model.lineCount() ? LineAt(model, line) : std::string_view{};
}

// Whether `count` elements, one per line from line `first` on, stand in the
// block of the object being read (in the file when no block is known).
bool CountFits(const Model& model, std::int32_t count, std::int32_t first);

// "l'objet MeshMaterialList de la mesh "Box"", or "l'objet Mesh "Box"" when
// the object is the mesh itself.
std::string ObjectLabel(std::string_view objectWord, std::string_view meshName);

// A count read on `line` that is negative or exceeds the lines that follow.
HRESULT ReportBadCount(const Model& model, const std::string& object, std::int32_t count, std::int32_t line,
                       const char* operation);
// A face whose corner count cannot fit on its line.
HRESULT ReportBadCornerCount(const Model& model, const std::string& object, std::int32_t count, std::int32_t line,
                             const char* operation);
// An index that names no element: `kind` is what it indexes ("sommet", "matériau"),
// `available` how many there are.
HRESULT ReportBadIndex(const Model& model, const std::string& object, const char* kind, const char* kindPlural,
                       std::int32_t index, std::int32_t available, std::int32_t line, const char* operation);

}  // namespace reading
