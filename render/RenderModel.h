// The drawing data of one loaded model: for each mesh, its bounding box, the
// triangles of each of its materials, its interleaved vertices, its buffer
// objects and the textures of its materials; and the model's display list.
// The preparation steps build it from a Model; the four draw paths and the
// two extras draw with it. It owns every OpenGL object it names.
#pragma once

#include "model/AuthoredSurface.h"
#include "model/Model.h"
#include "model/Pose.h"
#include "platform/BufferObjectApi.h"
#include "platform/GlName.h"
#include "platform/LargeBlocks.h"
#include "platform/ResultCodes.h"
#include "render/MaterialAlpha.h"
#include "render/TextureReport.h"
#include "texture/LoadTexture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
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
    platform::LargeVector<std::uint32_t> indices;  // filled whole as it is built
    std::size_t indexOffset = 0;  // bytes into RenderModel::indexBuffer
};

// What the drawn geometry depends on besides the model: whether the scene is
// drawn as its author placed it (and then with the normals its file
// stores), so drawn, an animation set at a time; and whether the meshes'
// vertex colours are drawn.
struct PoseChoice {
    bool asAuthored = false;
    std::int32_t animationSet = -1;  // index in Model::animationSets; -1 for none
    double seconds = 0;              // time into the set
    bool vertexColors = false;       // each vertex's colour as its diffuse colour, where a mesh has them
    bool operator==(const PoseChoice&) const = default;
};

// The four ways of sending a model to OpenGL.
enum class DrawPath { Immediate, DisplayList, IndexedArrays, BufferObjects };

struct MeshRenderData {
    std::array<Vector3, 8> boxCorners{};
    std::array<std::int32_t, 36> boxTriangles{};
    std::optional<std::vector<RenderGroup>> renderGroups;  // one per material
    std::optional<platform::LargeVector<InterleavedVertex>> interleavedVertices;
    std::size_t vertexOffset = 0;  // bytes into RenderModel::vertexBuffer
    // The drawn vertices of a mesh whose file stores normals for its corners
    // (see SplitSurfaces): the groups and every path index those.
    std::optional<SplitSurface> split;
    // The colour of each drawn vertex, for a mesh with vertex colours.
    std::optional<std::vector<VertexColor>> drawnColors;
    std::size_t colorOffset = 0;  // bytes into RenderModel::vertexBuffer
    // The drawn vertices (see PoseMeshes): the mesh as authored, in OpenGL's
    // coordinates; as read, those of a split mesh. None for a mesh drawn as
    // read from its own vertices. Rewritten in place for each pose.
    std::optional<MeshRecord::VertexList> posedVertices;
    std::optional<MeshRecord::VertexList> posedNormals;
    // The texture of each material, shared with every material of the model
    // that names the same file; null for a material without one.
    std::vector<std::shared_ptr<const LoadTexture>> textures;
    bool shown = true;  // drawn by the paths and the extras (see RenderModel::SetMeshShown)
    // What became of each material's texture names (see TextureReportOf).
    std::vector<TextureReport> textureReports;
};

namespace render {
class MaterialState;
}

class RenderModel {
public:
    // The positions and normals a mesh is drawn with: as read, or as
    // authored; one per drawn vertex. A split mesh's faces name its drawn
    // vertices through the split's corners.
    struct MeshGeometry {
        std::span<const Vector3> vertices;
        const MeshRecord::VertexList* normals;  // null when the mesh has none
        const SplitSurface* split;           // null: the faces name the vertices themselves
        const std::vector<VertexColor>* colors;  // one per vertex of the mesh, when drawn; else null

        // The drawn vertex of corner `c` of face `face`.
        std::int32_t Corner(const FaceList& faces, std::int32_t face, std::int32_t c) const
        {
            return split ? split->corners[faces.FirstCorner(face) + static_cast<std::size_t>(c)] : faces[face].corners[c];
        }
        // The mesh vertex a drawn vertex shows.
        std::int32_t Source(std::int32_t drawn) const
        {
            return split ? split->Source(static_cast<std::size_t>(drawn)) : drawn;
        }
    };
    MeshGeometry Geometry(const Model& model, std::size_t mesh) const;

    // The drawn vertices of every mesh whose file stores normals that fit
    // its faces (SplitByStoredNormals), after its faces were triangulated
    // and whenever the stored normals change; then the geometry is posed.
    // Drawn as read, the copies show the vertex they copy, so the picture is
    // that of the mesh's own vertices.
    void SplitSurfaces(const Model& model);

    // The drawn geometry for `choice`. As authored: each mesh placed by its
    // frames and bones (see ScenePose), their matrices those of the chosen
    // animation set at its time, then DirectX's left-handed coordinates
    // turned into OpenGL's by mirroring z (the front face then flips with
    // it). Otherwise the meshes as read. Sets the posed positions and normals
    // of every mesh (as authored, a split mesh's stored normals, where its
    // corners take them; the computed ones otherwise, turned over where a
    // transform mirrors) and the bounding boxes; the data of the draw paths
    // follow with RefreshPath.
    void PoseMeshes(const Model& model, const PoseChoice& choice);
    // The choice the drawn geometry was posed for.
    const PoseChoice& pose() const { return pose_; }
    // The skeleton in the drawn pose, in the coordinates the meshes are drawn
    // in (see PoseSkeleton): posed as authored, and for a model with frames
    // and no mesh whatever the choice (its frames are all it shows), the
    // animation then at rest as read; empty otherwise.
    const Skeleton& skeleton() const { return skeleton_; }
    // Its joints: the points a view must hold to show it.
    std::span<const Vector3> SkeletonJoints() const { return skeleton_.joints; }

    // Loads the texture of every mesh material that names one, each file
    // once; a material whose texture fails ends untextured (its name emptied).
    // For a scene shown as authored, a file its extension's reader refuses
    // goes to the reader its bytes name (ReaderChoice::ContentOnRefusal).
    // As authored, a material's first name is its texture (those after it
    // are other stages, not drawn) and DDS alpha is classified.
    void LoadMaterialTextures(Model& model, const PoseChoice& pose = {});
    // What the load made of the texture names of material `material` of
    // mesh `mesh`; null when the model names no texture or out of range.
    const TextureReport* TextureReportOf(std::size_t mesh, std::size_t material) const;
    void ComputeBoundingBoxes(const Model& model);
    // The triangles of each material (which no pose changes) and the
    // interleaved vertices of every mesh.
    void BuildRenderArrays(const Model& model);
    // Compiles DrawImmediate into a new display list.
    void BuildDisplayList(const Model& model);
    // Uploads the render arrays into the two buffer objects; S_OK or E_FAIL
    // (reported).
    HRESULT SetupBufferObjects();
    // After the normals changed: the display list (when there is one), the
    // render arrays and the buffer objects again.
    HRESULT RebuildRenderData(const Model& model);
    // After a new pose, brings what `path` draws up to the drawn geometry:
    // the positions and normals of the interleaved vertices, written into
    // the vertex buffer in place for buffer objects; the display list
    // compiled again (when there is one). Immediate mode draws the posed
    // geometry itself. Nothing is done for data that is already current.
    void RefreshPath(const Model& model, DrawPath path);

    // The four draw paths and the two extras; each draws the meshes in the
    // model's order with the data built for them.
    void DrawImmediate(const Model& model) const;
    void DrawDisplayList() const;
    void DrawIndexedArrays(const Model& model) const;
    void DrawBufferObjects(const Model& model) const;
    // Each drawn normal as a line from its vertex: of unit length, or as
    // authored a fiftieth of the model's box diagonal (so seen at any scale).
    void DrawNormals(const Model& model) const;
    // The diagonal of the box around every mesh's box, as posed; 0 without vertices.
    float BoxDiagonal(const Model& model) const;
    void DrawBoundingBox() const;
    // The box of mesh `mesh` alone (the one chosen in the viewer's panel);
    // nothing for a hidden mesh or one out of range.
    void DrawMeshBoundingBox(std::size_t mesh) const;

    // Whether mesh `mesh` is drawn: every mesh is after a load. A hidden mesh
    // is left out by the four paths and the extras, its data kept; the
    // display list (when there is one) follows at once, with the model's
    // context current.
    void SetMeshShown(const Model& model, std::size_t mesh, bool shown);
    bool MeshShown(std::size_t mesh) const;

    std::vector<MeshRenderData> meshes;  // one per mesh of the model, in its order
    // Every mesh's interleaved vertices one after another, and every group's
    // indices likewise: two buffer objects for the whole model, however many
    // meshes and materials it has.
    platform::GlName vertexBuffer;
    platform::GlName indexBuffer;
    platform::GlName displayList;
    bool buffersReady = false;  // set by a successful buffer setup, never cleared

private:
    PoseChoice pose_;
    std::optional<ScenePose> scenePose_;  // made with the first pose as authored
    std::vector<Matrix4> animatedLocals_;  // each frame's matrix at the animation's time
    Skeleton skeleton_;
    // Each kind of drawing data is current when its version is the geometry's.
    std::uint64_t geometryVersion_ = 0;
    std::uint64_t arraysVersion_ = 0;
    std::uint64_t bufferVersion_ = 0;
    std::uint64_t listVersion_ = 0;
    GLenum vertexUsage_ = GL_STATIC_DRAW_ARB;  // dynamic for a model whose animations rewrite it

    // One entry per mesh of the model, keeping what the entries hold.
    void MatchMeshes(const Model& model);
    // The split of mesh `mesh`, when it was made from the mesh as it is.
    const SplitSurface* SplitOf(const Model& model, std::size_t mesh) const;
    // The groups of every mesh, then every mesh's interleaved vertices whole.
    void BuildRenderGroups(const Model& model);
    void FillInterleavedVertices(const Model& model);
    // Positions and normals only, into the interleaved vertices already built.
    void RefreshInterleavedVertices(const Model& model);
    // The interleaved vertices written over the vertex buffer's contents.
    void UpdateVertexBuffer();
    // The display list's contents compiled again, under the same name.
    void RecompileDisplayList(const Model& model);
    // The lists of the meshes, once a mesh has been hidden (see DisplayList.cpp).
    void CompileMeshLists(const Model& model);
    void CompileModelList(const Model& model);
    void DrawImmediateMesh(const Model& model, std::size_t mesh, render::MaterialState& state) const;
    std::vector<platform::GlName> meshLists_;
    // The texture of material `material` of mesh `mesh` (null for none), and
    // the pose's way of drawing its alpha.
    render::DrawnTexture TextureOf(std::size_t mesh, std::size_t material) const;
};
