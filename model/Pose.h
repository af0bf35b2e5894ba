// The scene as its author placed it: the world matrix of every frame, and
// each mesh's vertices and normals where its frame or its bones put them, in
// the file's own (DirectX) coordinates.
#pragma once

#include "model/AuthoredSurface.h"
#include "model/Model.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class ScenePose {
public:
    // Finds, once, the frame each skin of each mesh names (the first frame of
    // that name) and the skins that weigh each vertex. The world matrices
    // start from the frames' own matrices.
    explicit ScenePose(const Model& model);

    // Every frame's world matrix: its local matrix (the identity when it has
    // none) times its parent's world matrix, up to the root. The locals are
    // `locals`, one per frame (an animation's), or, when that is empty, the
    // frames' own matrices.
    void ComputeWorlds(const Model& model, std::span<const Matrix4> locals = {});
    const Matrix4& WorldOf(std::int32_t frame) const;

    // Mesh `mesh` as authored, written into `vertices` (one per vertex of the
    // mesh) and, when the mesh has normals and `normals` is given, into
    // `normals` (one per normal of the mesh, unit length or zero). Without
    // skin weights every vertex goes under the world matrix of the frame
    // enclosing the mesh (none outside any frame). With skin weights a
    // weighted vertex becomes the sum, over the bones that weigh it, of
    // weight * (vertex * offset * the bone frame's world matrix), as skinning
    // draws a skeleton in its pose; a vertex that no bone weighs takes the
    // enclosing frame's matrix. A skin whose bone names no frame, and weights
    // of vertices the mesh does not have, are left out. The mesh's normals,
    // made from the winding of its faces, follow the same transforms and
    // turn over where one mirrors, as the winding does.
    // `model` must be the model this pose was made for.
    void PoseMesh(const Model& model, std::size_t mesh, MeshRecord::VertexList& vertices,
                  MeshRecord::VertexList* normals) const;
    // The stored normal of every drawn vertex of `split` (made from mesh
    // `mesh`) under the transform of the vertex it shows, by its inverse
    // transpose: a mirror leaves it on the side its author set it.
    void PoseStoredNormals(const Model& model, std::size_t mesh, const SplitSurface& split,
                           MeshRecord::VertexList& normals) const;
    // The frames the skins of mesh `mesh` name (those that are frames), one
    // per skin, in the mesh's order of skins; empty for an unskinned mesh.
    std::span<const std::int32_t> BoneFrames(std::size_t mesh) const;

private:
    // What weighs the vertices of one mesh: for vertex v, the influences
    // starts[v] .. starts[v + 1] - 1, in the order the file gives them.
    struct Influence {
        std::uint32_t skin;  // index into bones
        float weight;
    };
    struct MeshSkin {
        std::vector<std::uint32_t> bones;  // the mesh's skins whose bone is a frame
        std::vector<std::int32_t> boneFrames;  // the frame of each of them
        std::vector<Matrix4> boneTransforms;   // of each of them, mesh to world, kept with the world matrices
        std::vector<std::uint32_t> starts;  // empty when no vertex is weighed
        std::vector<Influence> influences;
    };

    std::vector<Matrix4> worlds_;
    std::vector<MeshSkin> skins_;  // one per mesh
};

// The skeleton of a posed scene: a joint at the world origin of each frame
// it holds, and bones joining a frame's joint to its parent's.
struct Skeleton {
    std::vector<Vector3> joints;
    std::vector<std::array<std::uint32_t, 2>> bones;  // indices into joints: the frame's, then its parent's
};

// The skeleton of `model` in `pose`, written over `skeleton`: for every
// skinned mesh, each bone frame joined to its parent (each frame once,
// however many meshes it moves); for a model with frames and no mesh, every
// frame joined to its parent. A frame without a parent (one before it) is a
// joint alone unless a child joins it. `pose` must be made for `model`.
void PoseSkeleton(const Model& model, const ScenePose& pose, Skeleton& skeleton);
