// The scene as its author placed it: the world matrix of every frame, and
// each mesh's vertices and normals where its frame or its bones put them, in
// the file's own (DirectX) coordinates.
#pragma once

#include "model/Model.h"

#include <string>
#include <unordered_map>
#include <vector>

struct PosedMesh {
    std::vector<Vector3> vertices;
    std::vector<Vector3> normals;  // one per normal of the mesh, unit length or zero
};

class ScenePose {
public:
    explicit ScenePose(const Model& model);

    // The world matrix of frame `frame`: its own matrix (the identity when it
    // has none) times its parent's world matrix, up to the root.
    const Matrix4& WorldOf(std::int32_t frame) const;

    // Mesh `mesh` as authored. Without skin weights every vertex goes under the
    // world matrix of the frame enclosing the mesh (none outside any frame).
    // With skin weights a weighted vertex becomes the sum, over the bones that
    // weigh it, of weight * (vertex * offset * the bone frame's world matrix),
    // as skinning draws a skeleton in the pose the file stores; a vertex that
    // no bone weighs takes the enclosing frame's matrix. A skin whose bone names
    // no frame, and weights of vertices the mesh does not have, are left out.
    // Normals follow the same transforms.
    PosedMesh Pose(std::size_t mesh) const;

private:
    const Model& model_;
    std::vector<Matrix4> worlds_;
    std::unordered_map<std::string, std::int32_t> framesByName_;  // the first frame of each name
};
