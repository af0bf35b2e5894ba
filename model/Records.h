// The records a loaded model is made of: vertices, faces, normals, texture
// coordinates and materials, as data. Nothing here touches OpenGL.
#pragma once

#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/LargeBlocks.h"

struct Vector3 {
    float x = 0, y = 0, z = 0;

    bool operator==(const Vector3&) const = default;

    static Vector3 Cross(const Vector3& a, const Vector3& b)
    {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }
    // To unit length; a zero vector stays zero. Inline: the normals call it
    // for every face and vertex.
    void Normalize()
    {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length == 0.0f) {
            x = y = z = 0.0f;
            return;
        }
        x /= length;
        y /= length;
        z /= length;
    }
};

// A 4x4 matrix as DirectX writes it: four rows of four, points taken as row
// vectors (p' = p * M), the translation in the last row.
struct Matrix4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    // This transform, then `next`.
    Matrix4 operator*(const Matrix4& next) const;
    bool operator==(const Matrix4&) const = default;
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
// costs none. The pools are filled in place once sized: sizing them leaves
// them unwritten.
class FaceList {
public:
    using Starts = platform::LargeVector<std::uint32_t>;
    using Corners = platform::LargeVector<std::int32_t>;

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
    // The list whose face k holds corners[starts[k]] up to corners[starts[k + 1]]:
    // pools filled in place, by several threads, and handed over whole.
    static FaceList FromPools(Starts starts, Corners corners)
    {
        assert(starts.empty() ? corners.empty() : starts.front() == 0 && starts.back() == corners.size());
        FaceList list;
        list.starts_ = std::move(starts);
        list.corners_ = std::move(corners);
        return list;
    }
    std::size_t cornerTotal() const { return corners_.size(); }
    // Where face `face`'s corners begin among all the faces' corners.
    std::size_t FirstCorner(std::int32_t face) const { return starts_[static_cast<std::size_t>(face)]; }
    void Clear()
    {
        Starts().swap(starts_);
        Corners().swap(corners_);
    }
    bool operator==(const FaceList& other) const { return size() == other.size() && corners_ == other.corners_ &&
                                                          (empty() || starts_ == other.starts_); }

private:
    Starts starts_;  // where each face begins in corners_, then the end; empty when no face
    Corners corners_;
};

struct MaterialColors {
    std::array<float, 4> ambient{1, 1, 1, 1};
    std::array<float, 4> diffuse{1, 1, 1, 1};
    std::array<float, 4> specular{0, 0, 0, 1};
    std::array<float, 4> emissive{0, 0, 0, 1};
    float power = 5.0f;

    // Five lines, without a final line end, as the text report shows them.
    std::string Describe() const;
    bool operator==(const MaterialColors&) const = default;
};

struct MaterialRecord {
    static constexpr std::size_t kNameLimit = 255;  // bytes kept of a name

    std::string name;
    MaterialColors colors;
    std::string textureFile;  // as written in the model; empty when untextured
    // Every "TextureFilename" the material holds, in file order: the first
    // is the diffuse texture, those after it the author's other stages.
    std::vector<std::string> textureFiles;

    // The diffuse texture as its author meant it: the first name (the one a
    // material made in memory sets, when it lists none).
    const std::string& DiffuseTextureFile() const { return textureFiles.empty() ? textureFile : textureFiles.front(); }
    bool operator==(const MaterialRecord&) const = default;
};

// Shortens a name to what a name field keeps (255 bytes).
std::string LimitName(std::string_view name);

// A "Frame": a named place in the scene's hierarchy, with the transform its
// "FrameTransformMatrix" gives it relative to its parent.
struct FrameRecord {
    std::string name;
    std::int32_t parent = -1;          // index in Model::frames; -1 at the root
    std::optional<Matrix4> transform;  // none when the frame has no matrix read whole
};

// A "SkinWeights" object: the vertices a bone (a frame) moves, how much, and
// the bone's offset matrix (from the mesh into the bone's space).
struct SkinWeightsRecord {
    std::string boneName;
    std::vector<std::int32_t> vertexIndices;
    std::vector<float> weights;  // one per vertex index
    Matrix4 offset;
};

// The normals a file stores for a mesh ("MeshNormals"), kept only when they
// fit its faces: a normal for every corner of every face.
struct StoredNormals {
    std::vector<Vector3> normals;
    std::vector<std::int32_t> cornerNormals;  // for each corner of the mesh's faces, in face order: into normals
    bool operator==(const StoredNormals&) const = default;
};

// A vertex colour ("MeshVertexColors"): red, green, blue, alpha in 0..1.
using VertexColor = std::array<float, 4>;

struct MeshRecord {
    // The lists as large as the mesh, in blocks that a large mesh takes on
    // huge pages (a list of ordinary pages takes a fault for every 4 KiB at
    // its first writing). Resizing one leaves new face materials unset, as
    // any LargeVector's values; vertices, normals and coordinates start at zero.
    using VertexList = platform::LargeVector<Vector3>;
    using FaceMaterialList = platform::LargeVector<std::int32_t>;
    using TexCoordList = platform::LargeVector<TexCoord>;

    std::string name;
    VertexList vertices;
    FaceList faces;
    std::optional<VertexList> normals;              // none until computed
    std::optional<FaceMaterialList> faceMaterials;  // none without a material list
    std::vector<MaterialRecord> materials;
    float opacity = 1.0f;
    std::optional<TexCoordList> texCoords;          // none without texture coordinates
    std::int32_t frame = -1;  // the frame whose block encloses the mesh, -1 outside any
    std::vector<SkinWeightsRecord> skinWeights;  // those read whole
    std::optional<StoredNormals> storedNormals;  // the file's normals, when they fit (AuthoredSurface.h)
    std::optional<std::vector<VertexColor>> vertexColors;  // one per vertex, when the file's fit

    std::int32_t vertexCount() const { return static_cast<std::int32_t>(vertices.size()); }
    std::int32_t faceCount() const { return faces.size(); }
    std::int32_t normalCount() const { return normals ? static_cast<std::int32_t>(normals->size()) : 0; }
    std::int32_t materialCount() const { return static_cast<std::int32_t>(materials.size()); }
    std::int32_t faceMaterialCount() const
    {
        return faceMaterials ? static_cast<std::int32_t>(faceMaterials->size()) : 0;
    }
    std::int32_t texCoordCount() const { return texCoords ? static_cast<std::int32_t>(texCoords->size()) : 0; }

    // A mesh whose block has closed gets a material list that covers its
    // faces: without a list, one material named "unnamed" on every face; with
    // a list whose face indices do not cover every face, every face on material 0.
    void CompleteMaterialList();
};
