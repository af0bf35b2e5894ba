// What a loaded texture is, for whoever describes it or decides how its
// alpha is drawn: the reader that read it, its size, its samples and what
// its alpha channel holds.
#pragma once

#include "model/Transparency.h"
#include "texture/Decoders.h"
#include "texture/DxtBlocks.h"
#include "texture/TextureSource.h"

#include <cstdint>
#include <optional>

// Whether a DDS load also tells what the texture's alpha holds. Its levels
// go to OpenGL as stored, so telling costs decoding level 0 once more.
enum class DdsAlpha { Skip, Classify };

struct TextureFacts {
    TextureFormat format = TextureFormat::Png;  // the reader that read the file
    std::uint32_t width = 0;                    // of level 0
    std::uint32_t height = 0;
    int components = 0;                 // samples per texel as uploaded; 0 for DXT blocks
    std::optional<DxtKind> dxt;         // the blocks of a compressed DDS
    std::optional<TextureAlpha> alpha;  // none when not looked at (a DDS loaded with DdsAlpha::Skip)
    bool operator==(const TextureFacts&) const = default;
};

// The facts of a decoded image, its alpha classified.
TextureFacts ImageFacts(TextureFormat format, const TextureImage& image);
// The facts of a decoded DDS file; with DdsAlpha::Classify level 0 is
// decoded to classify its alpha (left unknown when that fails).
TextureFacts DdsFacts(const DdsImage& image, DdsAlpha alpha);
