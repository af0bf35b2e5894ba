// Small models made in code for the render tests.
#pragma once

#include "model/Model.h"

#include <array>
#include <initializer_list>
#include <vector>

namespace render_testing {

struct MaterialSpec {
    std::array<float, 4> diffuse{1, 1, 1, 1};
    const char* textureFile = "";
};

// A mesh with those vertices, faces (lists of corners), face materials and
// materials. Texture coordinates are only set when given.
MeshRecord MakeMesh(MeshRecord::VertexList vertices, std::initializer_list<std::vector<std::int32_t>> faces,
                    MeshRecord::FaceMaterialList faceMaterials, std::vector<MaterialSpec> materials,
                    MeshRecord::TexCoordList texCoords = {});

// An axis-aligned square in the plane z, corners counter-clockwise from
// (x0, y0), as one quad on material `material`, appended to `mesh`.
void AddSquare(MeshRecord& mesh, float x0, float y0, float x1, float y1, float z, std::int32_t material);

std::vector<std::vector<std::int32_t>> FacesOf(const MeshRecord& mesh);

}  // namespace render_testing
