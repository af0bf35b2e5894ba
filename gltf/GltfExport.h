// A model carried out as glTF 2.0: the scene as its author placed it (frames
// as nodes, meshes, materials, textures, skins, every animation set), in
// glTF's right-handed, +Y-up axes. No OpenGL: it runs wherever the readers run.
#pragma once

#include "model/Model.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gltf_export {

struct ExportOptions {
    bool upZ = false;           // the model is Z-up: stand it up, as the viewer's "Axe vertical Z" does
    bool vertexColors = false;  // COLOR_0 from the file's vertex colours
    bool animations = true;     // false: no animation at all
    std::optional<std::size_t> onlySet;  // only this set (an index into Model::animationSets)
    bool textures = true;       // false: every material untextured, no image read
};

// What an export did. `error` is empty when the file was written; otherwise it
// says why not (the system's reason), and nothing was written. `notices`
// names, one line per kind, what the model holds that glTF could not take as
// it is and how it was written instead.
struct ExportResult {
    std::string error;
    std::vector<std::string> notices;
    bool Ok() const { return error.empty(); }
};

// What the viewer's load does to a model before it draws it, for a model a
// reader gave: opacity order, triangles, normals. A mesh too large to
// triangulate is told through the message sink, as the viewer tells it.
void PrepareModel(Model& model);

// Whether `path` names a .gltf (JSON with its .bin and images beside it)
// rather than a .glb (everything in one file): by its extension, in any case.
bool WritesSeparateFiles(const std::string& path);

// Writes a prepared model to `path`, as .glb or .gltf by its extension, each
// file whole or not at all. A texture that cannot be read is told through
// the message sink (as the viewer tells it) and leaves its material
// untextured. Textures are looked for beside Model::sourcePath.
ExportResult ExportModel(const Model& model, const std::string& path, const ExportOptions& options);

// The .glb bytes of a prepared model, written to memory.
std::vector<std::uint8_t> ExportGlb(const Model& model, const ExportOptions& options,
                                    std::vector<std::string>* notices = nullptr);

}  // namespace gltf_export
