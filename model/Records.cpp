#include "model/Records.h"

#include "platform/BufferObjectApi.h"

#include <cmath>
#include <cstdio>
#include <utility>

void Vector3::Normalize()
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

void MaterialColors::Apply() const
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, emissive.data());
    glMaterialfv(GL_FRONT, GL_SHININESS, &power);
}

std::string MaterialColors::Describe() const
{
    char text[1024];
    std::snprintf(text, sizeof text,
                  "amb : r:%f g:%f b:%f a:%f\ndiff : r:%f g:%f b:%f a:%f\nspec : r:%f g:%f b:%f\nemi : r:%f g:%f "
                  "b:%f\npower : p:%f",
                  ambient[0], ambient[1], ambient[2], ambient[3], diffuse[0], diffuse[1], diffuse[2], diffuse[3],
                  specular[0], specular[1], specular[2], emissive[0], emissive[1], emissive[2], power);
    return text;
}

std::string LimitName(std::string_view name)
{
    return std::string(name.substr(0, MaterialRecord::kNameLimit));
}

RenderGroup::~RenderGroup() { platform::DeleteBufferObject(indexBuffer); }

RenderGroup::RenderGroup(RenderGroup&& other) noexcept
    : triangleCount(other.triangleCount), indices(std::move(other.indices)), indexBuffer(other.indexBuffer)
{
    other.triangleCount = 0;
    other.indexBuffer = kNoGlName;
}

RenderGroup& RenderGroup::operator=(RenderGroup&& other) noexcept
{
    if (this != &other) {
        platform::DeleteBufferObject(indexBuffer);
        triangleCount = std::exchange(other.triangleCount, 0);
        indices = std::move(other.indices);
        indexBuffer = std::exchange(other.indexBuffer, kNoGlName);
    }
    return *this;
}

MeshRecord::MeshRecord(MeshRecord&& other) noexcept { MoveFieldsFrom(other); }

MeshRecord& MeshRecord::operator=(MeshRecord&& other) noexcept
{
    if (this != &other) {
        Release();
        MoveFieldsFrom(other);
    }
    return *this;
}

void MeshRecord::MoveFieldsFrom(MeshRecord& other) noexcept
{
    name = std::move(other.name);
    vertices = std::move(other.vertices);
    faces = std::move(other.faces);
    other.faces.Clear();
    normals = std::move(other.normals);
    faceMaterials = std::move(other.faceMaterials);
    materials = std::move(other.materials);
    opacity = other.opacity;
    texCoords = std::move(other.texCoords);
    boxCorners = other.boxCorners;
    boxTriangles = other.boxTriangles;
    renderGroups = std::move(other.renderGroups);
    interleavedVertices = std::move(other.interleavedVertices);
    vertexBuffer = std::exchange(other.vertexBuffer, kNoGlName);
    other.Init();
}

void MeshRecord::Init()
{
    name.clear();
    vertices.clear();
    faces.Clear();
    normals.reset();
    faceMaterials.reset();
    materials.clear();
    opacity = 1.0f;
    texCoords.reset();
    boxCorners = {};
    boxTriangles = {};
    renderGroups.reset();
    interleavedVertices.reset();
    vertexBuffer = kNoGlName;
}

void MeshRecord::Release()
{
    for (auto& material : materials)
        if (!material.textureFile.empty()) material.texture.ReleaseTexture();
    vertices = {};
    faces.Clear();
    normals.reset();
    faceMaterials.reset();
    std::vector<MaterialRecord>().swap(materials);  // destroying a material deletes whatever texture it still holds
    texCoords.reset();
    renderGroups.reset();  // each group deletes its index buffer
    interleavedVertices.reset();
    platform::DeleteBufferObject(vertexBuffer);
    vertexBuffer = kNoGlName;
    Init();
}

// A mesh whose block had no material list gets one default material named
// "unnamed"; a list whose face indices do not cover every face puts every face
// on material 0.
void MeshRecord::CompleteMaterials(std::optional<std::vector<std::int32_t>> sourceList, std::int32_t sourceFaceCount)
{
    const std::int32_t count = faceCount();
    if (sourceList && static_cast<std::int32_t>(sourceList->size()) == sourceFaceCount) {
        faceMaterials = std::move(sourceList);
        return;
    }
    faceMaterials = std::vector<std::int32_t>(count, 0);
    if (!sourceList) {
        materials.clear();
        materials.emplace_back();
        materials.back().name = "unnamed";
    }
}

void MeshRecord::CopyFrom(const MeshRecord& source)
{
    if (&source == this) return;
    Release();
    name = source.name;
    vertices = source.vertices;
    faces = source.faces;
    normals = source.normals;
    materials.resize(source.materials.size());
    for (std::size_t k = 0; k < materials.size(); ++k) materials[k].CopyDescription(source.materials[k]);
    CompleteMaterials(source.faceMaterials, source.faceCount());
    texCoords = source.texCoords;
    opacity = source.opacity;
}

void MeshRecord::TakeFrom(MeshRecord& source)
{
    if (&source == this) return;
    Release();
    const std::int32_t sourceFaceCount = source.faceCount();
    name = std::move(source.name);
    vertices = std::move(source.vertices);
    faces = std::move(source.faces);
    normals = std::move(source.normals);
    materials = std::move(source.materials);
    for (auto& material : materials) material.texture.ReleaseTexture();  // textures are never carried over
    CompleteMaterials(std::move(source.faceMaterials), sourceFaceCount);
    texCoords = std::move(source.texCoords);
    opacity = source.opacity;
    source.Release();
}

void MeshRecord::Swap(MeshRecord& a, MeshRecord& b)
{
    // Equivalent to three CopyFrom calls through a temporary: each side ends
    // with the other's data as read and its material list completed.
    MeshRecord temporary;
    temporary.TakeFrom(a);
    a.TakeFrom(b);
    b.TakeFrom(temporary);
}
