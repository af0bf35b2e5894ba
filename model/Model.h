// One loaded ".x" file as data: the values of its first line and "Header"
// object, its meshes, the shared materials meshes copy by name, and where it
// was read from. Readers fill it (model/text/); render/ builds the drawing
// data from it; reports read it (report/). Nothing here touches OpenGL.
#pragma once

#include "model/Animation.h"
#include "model/Records.h"
#include "platform/Messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Model {
    std::int32_t versionMajor = 0;
    std::int32_t versionMinor = 0;
    std::string formatType;  // "txt" for a text file
    std::int32_t floatSize = 0;
    std::int32_t headerMajor = 0;
    std::int32_t headerMinor = 0;
    std::int32_t headerFlags = 0;
    std::vector<MeshRecord> meshes;
    std::vector<MaterialRecord> sharedMaterials;
    std::vector<FrameRecord> frames;  // a parent before its children
    std::vector<AnimationSetRecord> animationSets;  // in file order
    std::optional<std::uint32_t> animTicksPerSecond;  // "AnimTicksPerSecond", when the file gives one
    std::string sourcePath;  // the file as the load was given it

    std::int32_t meshCount() const { return static_cast<std::int32_t>(meshes.size()); }
    // Materials, over all meshes, that name a texture file.
    std::int32_t CountTexturedMaterials() const;
    // Highest opacity first, in exactly the order a selection sort leaves.
    void SortMeshesByOpacity();
    void Clear() { *this = Model{}; }

    // Preparing the data for drawing: every polygon of more than three corners
    // becomes a fan of triangles; per-vertex normals are computed from the
    // faces, or negated (the stored normals with them). A mesh whose triangles
    // would be too many to count stays as it is, with a message for the
    // caller to show (one a mesh, in mesh order).
    std::vector<platform::Message> TriangulateFaces();
    void ComputeMeshNormals(std::int32_t mesh);
    void NegateNormals();
    // From then on every mesh is drawn with computed normals.
    void DropStoredNormals();
};
