// A room of many small meshes for the render benchmarks: 130 crates of 17
// triangles each (a box and a five-sided cap), on a few materials, some
// textured and some not, alternating from mesh to mesh; and its merged twin,
// the same triangles as one mesh with one material per kind.
#pragma once

#include "model/Model.h"

#include <filesystem>

namespace render_bench {

constexpr int kRoomMeshes = 130;
constexpr int kTrianglesPerCrate = 17;

// Writes the room's textures (small PPM images) into `folder` and fills
// `model` with the room, one mesh per crate or (with `merged`) all crates in
// one mesh; the model's source path is in `folder`, so its textures load
// from there.
void FillRoom(Model& model, const std::filesystem::path& folder, bool merged);

}  // namespace render_bench
