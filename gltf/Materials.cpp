// The materials: diffuse colour and alpha to the base colour, the texture to
// the base-colour texture, emissive to the emissive factor, specular colour
// to KHR_materials_specular, and a roughness from the specular power.
#include "gltf/Document.h"

#include "texture/PortableTexture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace gltf_export {
namespace {

// Phong's exponent n and the microfacet roughness r are related by
// alpha = r² = sqrt(2 / (n + 2)) (Walter et al. 2007): r = (2 / (n + 2))^(1/4).
double RoughnessOf(float power)
{
    if (!(power > 0) || !std::isfinite(power)) return 1.0;
    return std::clamp(std::pow(2.0 / (static_cast<double>(power) + 2.0), 0.25), 0.0, 1.0);
}

std::string KeyOf(const MaterialRecord& material)
{
    std::string key = material.name;
    key.push_back('\0');
    key += material.textureFile;
    key.push_back('\0');
    const MaterialColors& c = material.colors;
    for (const auto* values : {&c.ambient, &c.diffuse, &c.specular, &c.emissive})
        key.append(reinterpret_cast<const char*>(values->data()), sizeof(float) * 4);
    key.append(reinterpret_cast<const char*>(&c.power), sizeof(float));
    return key;
}

}  // namespace

const MaterialTable::Texture& MaterialTable::TextureOf(const std::string& file)
{
    if (const auto found = textures_.find(file); found != textures_.end()) return found->second;
    Texture texture;
    if (const std::optional<PortableTexture> image = ReadPortableTexture(file, std::filesystem::path(context_.model.sourcePath).parent_path().string())) {
        tinygltf::Model& gltf = context_.document.gltf;
        if (gltf.samplers.empty()) {
            tinygltf::Sampler sampler;
            sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
            gltf.samplers.push_back(sampler);
        }
        tinygltf::Image gltfImage;
        gltfImage.name = context_.document.Text(file);
        gltfImage.mimeType = image->mimeType;
        gltf.images.push_back(std::move(gltfImage));
        context_.document.images.push_back({file, image->mimeType, image->bytes});
        tinygltf::Texture gltfTexture;
        gltfTexture.source = static_cast<int>(gltf.images.size()) - 1;
        gltfTexture.sampler = 0;
        gltf.textures.push_back(gltfTexture);
        texture.index = static_cast<int>(gltf.textures.size()) - 1;
        texture.alpha = image->alpha;
    }
    return textures_.emplace(file, texture).first->second;
}

int MaterialTable::IndexOf(const MaterialRecord& material)
{
    std::string key = KeyOf(material);
    if (const auto found = indices_.find(key); found != indices_.end()) return found->second;

    tinygltf::Model& gltf = context_.document.gltf;
    const MaterialColors& colors = material.colors;
    bool clamped = false;
    const auto unit = [&](float v) {
        if (!std::isfinite(v)) {
            clamped = true;
            return 0.0;
        }
        if (v < 0 || v > 1) clamped = true;
        return std::clamp(static_cast<double>(v), 0.0, 1.0);
    };

    tinygltf::Material out;
    out.name = context_.document.Text(material.name);
    out.pbrMetallicRoughness.baseColorFactor = {unit(colors.diffuse[0]), unit(colors.diffuse[1]), unit(colors.diffuse[2]),
                                                unit(colors.diffuse[3])};
    out.pbrMetallicRoughness.metallicFactor = 0.0;
    out.pbrMetallicRoughness.roughnessFactor = RoughnessOf(colors.power);
    out.emissiveFactor = {unit(colors.emissive[0]), unit(colors.emissive[1]), unit(colors.emissive[2])};

    tinygltf::Value::Object specular;
    specular["specularColorFactor"] = tinygltf::Value(tinygltf::Value::Array{
        tinygltf::Value(unit(colors.specular[0])), tinygltf::Value(unit(colors.specular[1])),
        tinygltf::Value(unit(colors.specular[2]))});
    out.extensions["KHR_materials_specular"] = tinygltf::Value(std::move(specular));
    if (std::find(gltf.extensionsUsed.begin(), gltf.extensionsUsed.end(), "KHR_materials_specular") ==
        gltf.extensionsUsed.end())
        gltf.extensionsUsed.push_back("KHR_materials_specular");

    TextureAlpha textureAlpha = TextureAlpha::None;
    if (!material.textureFile.empty() && context_.options.textures) {
        const Texture& texture = TextureOf(material.textureFile);
        if (texture.index) {
            out.pbrMetallicRoughness.baseColorTexture.index = *texture.index;
            textureAlpha = texture.alpha;
        }
    }
    switch (MaterialAlphaMode(static_cast<float>(out.pbrMetallicRoughness.baseColorFactor[3]), textureAlpha)) {
    case AlphaMode::Blend: out.alphaMode = "BLEND"; break;
    case AlphaMode::Mask:
        out.alphaMode = "MASK";
        out.alphaCutoff = kAlphaCutoff;
        break;
    case AlphaMode::Opaque: out.alphaMode = "OPAQUE"; break;
    }
    if (clamped) context_.document.notices.Add("a material colour outside 0..1 or not finite: held within 0..1");

    gltf.materials.push_back(std::move(out));
    const int index = static_cast<int>(gltf.materials.size()) - 1;
    indices_.emplace(std::move(key), index);
    return index;
}

}  // namespace gltf_export
