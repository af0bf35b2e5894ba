#include "texture/DxtBlocks.h"

#include "texture/ImageLimits.h"

#include <algorithm>
#include <array>

namespace {

using Texels = std::array<std::array<std::uint8_t, 4>, 16>;  // one block's RGBA, row by row

std::uint32_t Little16(const std::uint8_t* bytes) { return bytes[0] | std::uint32_t{bytes[1]} << 8; }

std::array<std::uint8_t, 4> Rgb565(std::uint32_t packed)
{
    const std::uint32_t r = packed >> 11 & 31, g = packed >> 5 & 63, b = packed & 31;
    return {static_cast<std::uint8_t>(r << 3 | r >> 2), static_cast<std::uint8_t>(g << 2 | g >> 4),
            static_cast<std::uint8_t>(b << 3 | b >> 2), 255};
}

// (weightA * a + weightB * b) / (weightA + weightB), rounded to nearest.
std::uint8_t Mix(std::uint32_t a, std::uint32_t weightA, std::uint32_t b, std::uint32_t weightB)
{
    const std::uint32_t total = weightA + weightB;
    return static_cast<std::uint8_t>((a * weightA + b * weightB + total / 2) / total);
}

// The colour half of every block: two 5:6:5 colours and 2-bit indices.
// DXT3 and DXT5 always use four colours; DXT1 only when color0 > color1.
void DecodeColors(const std::uint8_t* block, bool fourAlways, Texels& texels)
{
    const std::uint32_t packed0 = Little16(block), packed1 = Little16(block + 2);
    std::array<std::array<std::uint8_t, 4>, 4> palette{Rgb565(packed0), Rgb565(packed1), {}, {}};
    const auto& c0 = palette[0];
    const auto& c1 = palette[1];
    const bool four = fourAlways || packed0 > packed1;
    for (int k = 0; k < 3; ++k) {
        palette[2][k] = four ? Mix(c0[k], 2, c1[k], 1) : Mix(c0[k], 1, c1[k], 1);
        palette[3][k] = four ? Mix(c0[k], 1, c1[k], 2) : 0;
    }
    palette[2][3] = 255;
    palette[3][3] = four ? 255 : 0;
    for (int i = 0; i < 16; ++i) texels[i] = palette[block[4 + i / 4] >> (2 * (i % 4)) & 3];
}

// DXT3: sixteen explicit 4-bit alphas, low nibble first.
void DecodeExplicitAlpha(const std::uint8_t* block, Texels& texels)
{
    for (int i = 0; i < 16; ++i) texels[i][3] = static_cast<std::uint8_t>((block[i / 2] >> (4 * (i % 2)) & 15) * 17);
}

// DXT5: two alphas and sixteen 3-bit indices into the ramp between them.
void DecodeInterpolatedAlpha(const std::uint8_t* block, Texels& texels)
{
    const std::uint32_t a0 = block[0], a1 = block[1];
    std::array<std::uint8_t, 8> ramp{static_cast<std::uint8_t>(a0), static_cast<std::uint8_t>(a1)};
    if (a0 > a1) {
        for (std::uint32_t k = 1; k < 7; ++k) ramp[k + 1] = Mix(a0, 7 - k, a1, k);
    } else {
        for (std::uint32_t k = 1; k < 5; ++k) ramp[k + 1] = Mix(a0, 5 - k, a1, k);
        ramp[6] = 0;
        ramp[7] = 255;
    }
    std::uint64_t indices = 0;
    for (int b = 0; b < 6; ++b) indices |= std::uint64_t{block[2 + b]} << (8 * b);
    for (int i = 0; i < 16; ++i) texels[i][3] = ramp[indices >> (3 * i) & 7];
}

}  // namespace

std::size_t DxtBlockBytes(DxtKind kind) { return kind == DxtKind::Dxt1 ? 8 : 16; }

std::optional<std::vector<std::uint8_t>> DecompressDxt(DxtKind kind, std::uint32_t width, std::uint32_t height,
                                                       std::span<const std::uint8_t> blocks)
{
    const std::size_t blocksWide = (std::size_t{width} + 3) / 4, blocksHigh = (std::size_t{height} + 3) / 4;
    const std::size_t blockBytes = DxtBlockBytes(kind);
    const auto needed = ImageBytes(blocksWide, blocksHigh, blockBytes);
    const auto size = ImageBytes(width, height, 4);
    if (!needed || !size || blocks.size() < *needed) return std::nullopt;
    std::vector<std::uint8_t> rgba;
    if (!ReserveBytes(rgba, *size)) return std::nullopt;

    Texels texels{};
    for (std::size_t by = 0; by < blocksHigh; ++by)
        for (std::size_t bx = 0; bx < blocksWide; ++bx) {
            const std::uint8_t* block = blocks.data() + (by * blocksWide + bx) * blockBytes;
            const std::uint8_t* colors = kind == DxtKind::Dxt1 ? block : block + 8;
            DecodeColors(colors, kind != DxtKind::Dxt1, texels);
            if (kind == DxtKind::Dxt3) DecodeExplicitAlpha(block, texels);
            if (kind == DxtKind::Dxt5) DecodeInterpolatedAlpha(block, texels);
            for (std::size_t y = by * 4; y < std::min<std::size_t>(by * 4 + 4, height); ++y)
                for (std::size_t x = bx * 4; x < std::min<std::size_t>(bx * 4 + 4, width); ++x) {
                    const auto& texel = texels[(y - by * 4) * 4 + (x - bx * 4)];
                    std::copy(texel.begin(), texel.end(), rgba.begin() + static_cast<std::ptrdiff_t>((y * width + x) * 4));
                }
        }
    return rgba;
}
