#include "model/Records.h"

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
    CompleteMaterials(std::move(source.faceMaterials), sourceFaceCount);
    texCoords = std::move(source.texCoords);
    opacity = source.opacity;
    source.Release();
}
