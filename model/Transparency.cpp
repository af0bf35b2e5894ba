#include "model/Transparency.h"

#include <cstddef>

namespace {

// A cut-out has at least this share of its texels at 0 or 255.
constexpr std::uint64_t kCutOutPercent = 95;

}  // namespace

TextureAlpha ClassifyAlpha(std::span<const std::uint8_t> pixels, int components)
{
    if (components != 2 && components != 4) return TextureAlpha::None;
    const auto stride = static_cast<std::size_t>(components);
    std::uint64_t texels = 0, transparent = 0, opaque = 0;
    for (std::size_t alpha = stride - 1; alpha < pixels.size(); alpha += stride) {
        ++texels;
        transparent += pixels[alpha] == 0;
        opaque += pixels[alpha] == 255;
    }
    if (opaque == texels) return TextureAlpha::None;
    // Counted in whole texels: transparent + opaque >= 95 % of texels.
    const bool binary = (transparent + opaque) * 100 >= texels * kCutOutPercent;
    return binary && transparent > 0 && opaque > 0 ? TextureAlpha::CutOut : TextureAlpha::Blended;
}

AlphaMode MaterialAlphaMode(float diffuseAlpha, TextureAlpha textureAlpha)
{
    if (diffuseAlpha < 1.0f) return AlphaMode::Blend;
    return textureAlpha == TextureAlpha::CutOut ? AlphaMode::Mask : AlphaMode::Opaque;
}
