#include "model/Records.h"

#include <cmath>
#include <cstdio>

Matrix4 Matrix4::operator*(const Matrix4& next) const
{
    Matrix4 product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += m[row * 4 + k] * next.m[k * 4 + column];
            product.m[row * 4 + column] = sum;
        }
    return product;
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

void MeshRecord::CompleteMaterialList()
{
    if (faceMaterials && faceMaterialCount() == faceCount()) return;
    if (!faceMaterials) {
        materials.clear();
        materials.emplace_back().name = "unnamed";
    }
    faceMaterials = FaceMaterialList(static_cast<std::size_t>(faceCount()), 0);
}
