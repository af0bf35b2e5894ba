// The rows of the "Scène" panel, without the toolkit: the frame tree (each
// frame under its parent, the meshes on a frame under it, meshes outside
// any frame at the top, bones marked), each mesh's counts, its materials'
// colours and textures (the file, then its size and format, or why it did
// not load).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LoadedModel;

struct ScenePartRow {
    enum class Kind { Frame, Mesh, Material, Detail };

    Kind kind = Kind::Detail;
    std::int32_t parent = -1;  // the row this one sits under (always an earlier one); -1 at the top
    std::string label;         // first column (UTF-8)
    std::string detail;        // second column
    std::int32_t mesh = -1;    // a mesh row's mesh, in the model's order
    bool bone = false;         // a frame a skin names as its bone
};

// Every row of the model, a parent before its children; the cost is linear
// in the frames, meshes and materials.
std::vector<ScenePartRow> ScenePartRows(const LoadedModel& loaded);

// What a check box or a selection on row `row` stands for: the nearest mesh
// or frame row at or above it (a material or a detail counts as its mesh's).
std::size_t OwningPart(const std::vector<ScenePartRow>& rows, std::size_t row);
// The meshes of the rows at and under `row`, in row order.
std::vector<std::int32_t> MeshesUnder(const std::vector<ScenePartRow>& rows, std::size_t row);
// The mesh row `row` belongs to, or -1 (a frame's row, a row out of range).
std::int32_t MeshOfRow(const std::vector<ScenePartRow>& rows, std::size_t row);
