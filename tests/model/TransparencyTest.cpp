#include "model/Transparency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// `count` grey+alpha texels: `zeros` at alpha 0, `full` at 255, the rest at 128.
std::vector<std::uint8_t> GreyAlpha(int count, int zeros, int full)
{
    std::vector<std::uint8_t> texels;
    for (int i = 0; i < count; ++i) {
        texels.push_back(77);
        texels.push_back(i < zeros ? 0 : i < zeros + full ? 255 : 128);
    }
    return texels;
}

}  // namespace

TEST(ClassifyAlpha, CutOutFromExactlyNinetyFivePercentOfBinaryTexels)
{
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(100, 10, 85), 2), TextureAlpha::CutOut);  // 95 of 100
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(100, 10, 84), 2), TextureAlpha::Blended);  // 94 of 100
    // 19 of 20 is 95 % too; 18 of 19 (94.7 %) is not.
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(20, 1, 18), 2), TextureAlpha::CutOut);
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(19, 1, 17), 2), TextureAlpha::Blended);
}

TEST(ClassifyAlpha, NeedsBothTransparentAndOpaqueTexels)
{
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(10, 0, 10), 2), TextureAlpha::None);    // all opaque
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(100, 0, 99), 2), TextureAlpha::Blended);  // no transparent texel
    EXPECT_EQ(ClassifyAlpha(GreyAlpha(10, 10, 0), 2), TextureAlpha::Blended);   // all transparent
    EXPECT_EQ(ClassifyAlpha({}, 4), TextureAlpha::None);
}

TEST(ClassifyAlpha, ReadsTheLastOfFourComponentsAndIgnoresThreeOrOne)
{
    // Colour samples at 0 and 255 must not count as alpha.
    const std::vector<std::uint8_t> rgba{0, 255, 0, 255, 255, 0, 255, 0};
    EXPECT_EQ(ClassifyAlpha(rgba, 4), TextureAlpha::CutOut);
    const std::vector<std::uint8_t> opaqueAlpha{0, 0, 0, 255, 0, 0, 0, 255};
    EXPECT_EQ(ClassifyAlpha(opaqueAlpha, 4), TextureAlpha::None);
    EXPECT_EQ(ClassifyAlpha(rgba, 3), TextureAlpha::None);
    EXPECT_EQ(ClassifyAlpha(rgba, 1), TextureAlpha::None);
}

TEST(MaterialAlphaMode, DiffuseAlphaFirstThenCutOutTextures)
{
    EXPECT_EQ(MaterialAlphaMode(0.99f, TextureAlpha::None), AlphaMode::Blend);
    EXPECT_EQ(MaterialAlphaMode(0.5f, TextureAlpha::CutOut), AlphaMode::Blend);
    EXPECT_EQ(MaterialAlphaMode(1.0f, TextureAlpha::CutOut), AlphaMode::Mask);
    // A texture's soft alpha (a gloss mask) leaves an opaque material opaque.
    EXPECT_EQ(MaterialAlphaMode(1.0f, TextureAlpha::Blended), AlphaMode::Opaque);
    EXPECT_EQ(MaterialAlphaMode(1.0f, TextureAlpha::None), AlphaMode::Opaque);
}
