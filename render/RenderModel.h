// The drawing data of one loaded model: for each mesh, its bounding box, the
// triangles of each of its materials, its interleaved vertices, its buffer
// objects and the textures of its materials; and the model's display list.
// The preparation steps build it from a Model; the four draw paths and the
// two extras draw with it. It owns every OpenGL object it names.
#pragma once

#include "model/Model.h"
#include "model/Pose.h"
#include "platform/GlName.h"
#include "platform/ResultCodes.h"
#include "texture/LoadTexture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// 32 bytes in the GL_T2F_N3F_V3F interleaved layout.
struct InterleavedVertex {
    float u, v;
    float nx, ny, nz;
    float x, y, z;
};
static_assert(sizeof(InterleavedVertex) == 32);

// The triangles of one material, and where the model's index buffer holds them.
struct RenderGroup {
    std::int32_t triangleCount = 0;
    std::vector<std::uint32_t> indices;
    std::size_t indexOffset = 0;  // bytes into RenderModel::indexBuffer
};

struct MeshRenderData {
    std::array<Vector3, 8> boxCorners{};
    std::array<std::int32_t, 36> boxTriangles{};
    std::optional<std::vector<RenderGroup>> renderGroups;  // one per material
    std::optional<std::vector<InterleavedVertex>> interleavedVertices;
    std::size_t vertexOffset = 0;  // bytes into RenderModel::vertexBuffer
    // The mesh as authored, in OpenGL's coordinates (see PoseMeshes); none
    // while the model is drawn as read.
    std::optional<std::vector<Vector3>> posedVertices;
    std::optional<std::vector<Vector3>> posedNormals;
    // The texture of each material, shared with every material of the model
    // that names the same file; null for a material without one.
    std::vector<std::shared_ptr<const LoadTexture>> textures;
};

class RenderModel {
public:
    // The positions and normals a mesh is drawn with: as read, or as authored.
    struct MeshGeometry {
        const std::vector<Vector3>& vertices;
        const std::vector<Vector3>* normals;  // null when the mesh has none
    };
    MeshGeometry Geometry(const Model& model, std::size_t mesh) const;

    // As authored: each mesh placed by its frames and bones (see ScenePose),
    // then DirectX's left-handed coordinates turned into OpenGL's by mirroring
    // z (the front face then flips with it). Otherwise the meshes are drawn
    // as read. Sets the posed positions and normals of every mesh (normals
    // follow the model's, whatever the normals commands made of them),
    // written over the buffers of the last pose.
    void PoseMeshes(const Model& model);
    bool asAuthored = false;

    // Loads the texture of every mesh material that names one, each file
    // once; a material whose texture fails ends untextured (its name emptied).
    void LoadMaterialTextures(Model& model);
    void ComputeBoundingBoxes(const Model& model);
    // The triangles of each material and the interleaved vertices of every mesh.
    void BuildRenderArrays(const Model& model);
    // Compiles DrawImmediate into a new display list.
    void BuildDisplayList(const Model& model);
    // Uploads the render arrays into the two buffer objects; S_OK or E_FAIL
    // (reported).
    HRESULT SetupBufferObjects();
    // After the normals changed: the display list (when there is one), the
    // render arrays and the buffer objects again.
    HRESULT RebuildRenderData(const Model& model);

    // The four draw paths and the two extras; each draws the meshes in the
    // model's order with the data built for them.
    void DrawImmediate(const Model& model) const;
    void DrawDisplayList() const;
    void DrawIndexedArrays(const Model& model) const;
    void DrawBufferObjects(const Model& model) const;
    void DrawNormals(const Model& model) const;
    void DrawBoundingBox() const;

    std::vector<MeshRenderData> meshes;  // one per mesh of the model, in its order
    // Every mesh's interleaved vertices one after another, and every group's
    // indices likewise: two buffer objects for the whole model, however many
    // meshes and materials it has.
    platform::GlName vertexBuffer;
    platform::GlName indexBuffer;
    platform::GlName displayList;
    bool buffersReady = false;  // set by a successful buffer setup, never cleared

private:
    std::optional<ScenePose> scenePose_;  // made with the first pose as authored

    // One entry per mesh of the model, keeping what the entries hold.
    void MatchMeshes(const Model& model);
    // The texture of material `material` of mesh `mesh`, or null.
    const LoadTexture* TextureOf(std::size_t mesh, std::size_t material) const;
};
