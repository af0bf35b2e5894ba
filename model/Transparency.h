// How a material's transparency is drawn: the one rule the glTF export and
// the "as authored" drawing share. No image format here: a texture comes in
// as decoded samples.
#pragma once

#include <cstdint>
#include <span>

// What a texture's alpha channel holds.
enum class TextureAlpha {
    None,     // no alpha channel, or every texel opaque
    CutOut,   // texels either fully transparent or fully opaque, almost all of them
    Blended,  // anything else (partial transparency, or a gloss mask kept in alpha)
};

// `pixels`: 8-bit samples, `components` per texel; alpha is the last of 2 or
// 4 components, and 1 or 3 components have none.
TextureAlpha ClassifyAlpha(std::span<const std::uint8_t> pixels, int components);

enum class AlphaMode { Opaque, Mask, Blend };

// Where a cut-out's texels turn from transparent to opaque.
inline constexpr float kAlphaCutoff = 0.5f;

// A diffuse alpha below one blends; otherwise a cut-out texture masks at
// kAlphaCutoff; anything else is drawn opaque, whatever the texture's alpha
// holds (game textures often keep a gloss or specular mask there).
AlphaMode MaterialAlphaMode(float diffuseAlpha, TextureAlpha textureAlpha);
