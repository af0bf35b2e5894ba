// The records a loaded model is made of: vertices, faces, materials and the
// render data prepared for drawing.
#pragma once

#include "texture/LoadTexture.h"

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr GLuint kNoGlName = 0xFFFFFFFFu;  // OpenGL name fields hold this when there is none

struct Vector3 {
    float x = 0, y = 0, z = 0;

    static Vector3 Cross(const Vector3& a, const Vector3& b)
    {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }
    void Normalize();
};

struct TexCoord {
    float u = 0, v = 0;
};

// One polygon, as a view into the face list that holds it.
struct FaceRecord {
    std::int32_t cornerCount = 0;
    const std::int32_t* corners = nullptr;
};

// The faces of a mesh in file order. Corners of all faces live in one pool,
// so a million quads cost two allocations, not a million; an empty list
// costs none.
class FaceList {
public:
    std::int32_t size() const { return starts_.empty() ? 0 : static_cast<std::int32_t>(starts_.size()) - 1; }
    bool empty() const { return size() == 0; }
    FaceRecord operator[](std::int32_t face) const
    {
        const std::uint32_t begin = starts_[face];
        return {static_cast<std::int32_t>(starts_[face + 1] - begin), corners_.data() + begin};
    }
    void Reserve(std::size_t faces, std::size_t corners)
    {
        starts_.reserve(faces + 1);
        corners_.reserve(corners);
    }
    void Append(std::span<const std::int32_t> corners)
    {
        if (starts_.empty()) starts_.push_back(0);
        corners_.insert(corners_.end(), corners.begin(), corners.end());
        starts_.push_back(static_cast<std::uint32_t>(corners_.size()));
    }
    void AppendTriangle(std::int32_t a, std::int32_t b, std::int32_t c)
    {
        if (starts_.empty()) starts_.push_back(0);
        corners_.push_back(a);
        corners_.push_back(b);
        corners_.push_back(c);
        starts_.push_back(static_cast<std::uint32_t>(corners_.size()));
    }
    std::size_t cornerTotal() const { return corners_.size(); }
    void Clear()
    {
        std::vector<std::uint32_t>().swap(starts_);
        std::vector<std::int32_t>().swap(corners_);
    }
    bool operator==(const FaceList& other) const { return size() == other.size() && corners_ == other.corners_ &&
                                                          (empty() || starts_ == other.starts_); }

private:
    std::vector<std::uint32_t> starts_;  // where each face begins in corners_, then the end; empty when no face
    std::vector<std::int32_t> corners_;
};

struct MaterialColors {
    std::array<float, 4> ambient{1, 1, 1, 1};
    std::array<float, 4> diffuse{1, 1, 1, 1};
    std::array<float, 4> specular{0, 0, 0, 1};
    std::array<float, 4> emissive{0, 0, 0, 1};
    float power = 5.0f;

    void SetDefaults() { *this = MaterialColors{}; }
    // Sets the OpenGL material of the front faces.
    void Apply() const;
    // Five lines, without a final line end, as the text report shows them.
    std::string Describe() const;
    bool operator==(const MaterialColors&) const = default;
};

struct MaterialRecord {
    static constexpr std::size_t kNameLimit = 255;  // bytes kept of a name

    std::string name;
    MaterialColors colors;
    std::string textureFile;  // as written in the model; empty when untextured
    LoadTexture texture;

    MaterialRecord() = default;
    MaterialRecord(MaterialRecord&&) noexcept = default;
    MaterialRecord& operator=(MaterialRecord&&) noexcept = default;
    MaterialRecord(const MaterialRecord&) = delete;
    MaterialRecord& operator=(const MaterialRecord&) = delete;

    // Takes name, texture file name and colours; never the texture itself.
    void CopyDescription(const MaterialRecord& source)
    {
        name = source.name;
        textureFile = source.textureFile;
        colors = source.colors;
    }
};

// Shortens a name to what a name field keeps (255 bytes).
std::string LimitName(std::string_view name);

// 32 bytes in the GL_T2F_N3F_V3F interleaved layout.
struct InterleavedVertex {
    float u, v;
    float nx, ny, nz;
    float x, y, z;
};
static_assert(sizeof(InterleavedVertex) == 32);

// The triangles of one material, and the buffer object that holds them.
struct RenderGroup {
    std::int32_t triangleCount = 0;
    std::vector<std::uint32_t> indices;
    GLuint indexBuffer = kNoGlName;

    RenderGroup() = default;
    ~RenderGroup();
    RenderGroup(RenderGroup&& other) noexcept;
    RenderGroup& operator=(RenderGroup&& other) noexcept;
    RenderGroup(const RenderGroup&) = delete;
    RenderGroup& operator=(const RenderGroup&) = delete;
};

struct MeshRecord {
    std::string name;
    std::vector<Vector3> vertices;
    FaceList faces;
    std::optional<std::vector<Vector3>> normals;        // none until computed
    std::optional<std::vector<std::int32_t>> faceMaterials;  // none without a material list
    std::vector<MaterialRecord> materials;
    float opacity = 1.0f;
    std::optional<std::vector<TexCoord>> texCoords;     // none without texture coordinates

    std::array<Vector3, 8> boxCorners{};
    std::array<std::int32_t, 36> boxTriangles{};
    std::optional<std::vector<RenderGroup>> renderGroups;
    std::optional<std::vector<InterleavedVertex>> interleavedVertices;
    GLuint vertexBuffer = kNoGlName;

    MeshRecord() = default;
    ~MeshRecord() { Release(); }
    MeshRecord(MeshRecord&& other) noexcept;
    MeshRecord& operator=(MeshRecord&& other) noexcept;
    MeshRecord(const MeshRecord&) = delete;
    MeshRecord& operator=(const MeshRecord&) = delete;

    std::int32_t vertexCount() const { return static_cast<std::int32_t>(vertices.size()); }
    std::int32_t faceCount() const { return faces.size(); }
    std::int32_t normalCount() const { return normals ? static_cast<std::int32_t>(normals->size()) : 0; }
    std::int32_t materialCount() const { return static_cast<std::int32_t>(materials.size()); }
    std::int32_t faceMaterialCount() const
    {
        return faceMaterials ? static_cast<std::int32_t>(faceMaterials->size()) : 0;
    }
    std::int32_t texCoordCount() const { return texCoords ? static_cast<std::int32_t>(texCoords->size()) : 0; }

    void Init();
    // Frees everything, deleting textures and buffer objects, then Init.
    void Release();
    // An independent deep copy of the source as read (never its render data or
    // textures); completes a missing material list (see the .cpp).
    void CopyFrom(const MeshRecord& source);
    // Same result as CopyFrom followed by source.Release(), without the copy.
    void TakeFrom(MeshRecord& source);
    static void Swap(MeshRecord& a, MeshRecord& b);

private:
    void CompleteMaterials(std::optional<std::vector<std::int32_t>> sourceList, std::int32_t sourceFaceCount);
    void MoveFieldsFrom(MeshRecord& other) noexcept;
};
