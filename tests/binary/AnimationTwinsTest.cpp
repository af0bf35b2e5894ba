// Animations read the same from a text file and from its binary and
// compressed twins, damaged ones included: both readers keep what holds
// together and leave out the rest, and the model loads.
#include "model/binary/writer/BinaryWriter.h"
#include "model/binary/writer/MszipWriter.h"
#include "model/binary/writer/TextObjects.h"
#include "model/file/ModelFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Twin {
    const char* form;
    std::string bytes;
};

// The text and its twins: binary (32- and 64-bit floats), compressed text, compressed binary.
std::vector<Twin> TwinsOf(const std::string& text)
{
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadTextObjects(text, document, error)) << error;
    auto asText = [](const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const std::vector<std::uint8_t> binary = xfile::WriteBinary(document, 4);
    return {{"txt", text},
            {"bin32", asText(binary)},
            {"bin64", asText(xfile::WriteBinary(document, 8))},
            {"tzip", asText(xfile::CompressMszip(std::vector<std::uint8_t>(text.begin(), text.end()), 900))},
            {"bzip", asText(xfile::CompressMszip(binary, 900))}};
}

// Everything an animation holds, its floats to the last bit.
std::string Describe(const AnimationRecord& animation)
{
    std::string text = animation.frameName + "#" + std::to_string(animation.frame) + (animation.closed ? " closed" : " open") +
                       (animation.linearPositions ? " linear" : " spline");
    auto add = [&](char list, std::uint32_t time, std::initializer_list<float> values) {
        char number[32];
        text += std::string(" ") + list + std::to_string(time) + ":";
        for (const float value : values) {
            std::snprintf(number, sizeof number, "%a,", static_cast<double>(value));
            text += number;
        }
    };
    for (const auto& key : animation.rotationKeys) add('r', key.time, {key.value.w, key.value.x, key.value.y, key.value.z});
    for (const auto& key : animation.scaleKeys) add('s', key.time, {key.value.x, key.value.y, key.value.z});
    for (const auto& key : animation.positionKeys) add('p', key.time, {key.value.x, key.value.y, key.value.z});
    for (const auto& key : animation.matrixKeys)
        for (const float value : key.value.m) add('m', key.time, {value});
    return text;
}

// The first difference between two models' sets; empty when there is none.
std::string FirstDifference(const std::vector<AnimationSetRecord>& read, const std::vector<AnimationSetRecord>& expected)
{
    if (read.size() != expected.size()) return std::to_string(read.size()) + " sets";
    for (std::size_t s = 0; s < read.size(); ++s) {
        const std::string where = "set " + std::to_string(s);
        if (read[s].name != expected[s].name) return where + " is named " + read[s].name;
        if (read[s].animations.size() != expected[s].animations.size())
            return where + " holds " + std::to_string(read[s].animations.size()) + " animations";
        for (std::size_t a = 0; a < read[s].animations.size(); ++a)
            if (Describe(read[s].animations[a]) != Describe(expected[s].animations[a]))
                return where + ", animation " + std::to_string(a) + ": " + Describe(read[s].animations[a]).substr(0, 300);
    }
    return "";
}

Model Read(const Twin& twin)
{
    testing_support::MessageRecorder recorder;
    std::optional<Model> model = ReadModelBytes("twin.x", twin.bytes);
    EXPECT_TRUE(model) << twin.form;
    EXPECT_TRUE(recorder.messages().empty()) << twin.form;
    return model ? std::move(*model) : Model{};
}

const std::string kHeader = "xof 0303txt 0032\n";
const std::string kScene = "Frame Hip {\n FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
                           " Frame Knee {\n }\n"
                           " Mesh Leg {\n  3;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n  0.0;1.0;0.0;;\n  1;\n  3;0,1,2;;\n }\n"
                           "}\n";

// Values written as integers ("1", "-1"), both ways of naming the frame,
// every key type, options, a named and an unnamed set.
const std::string kAnimated = kHeader + "AnimTicksPerSecond {\n 25;\n}\n" + kScene +
                              "AnimationSet Walk {\n"
                              " Animation Anim-Walk-Hip {\n  { Hip }\n  AnimationOptions {\n   0;\n   1;\n  }\n"
                              "  AnimationKey {\n   0;\n   2;\n   0;4;1,0,0,0;;,\n   10;4;-1,0,0,0;;;\n  }\n"
                              "  AnimationKey {\n   2;\n   2;\n   0;3;0.5,-2,0;;,\n   10;3;1.25,-3,0;;;\n  }\n }\n"
                              " Animation (Knee) {\n  AnimationKey {\n   1;\n   1;\n   5;3;2,2,2;;;\n  }\n"
                              "  AnimationKey {\n   4;\n   1;\n   5;16;1,0,0,0,0,1,0,0,0,0,1,0,-4,5.5,6,1;;;\n  }\n }\n"
                              "}\n"
                              "AnimationSet {\n Animation {\n  {Knee}\n  AnimationKey {\n   1;\n   1;\n   0;3;1,1,1;;;\n  }\n }\n}\n";

TEST(AnimationTwins, ReadTheSameAnimationsAsTheirText)
{
    const Model hand = Read({"txt", kAnimated});
    ASSERT_EQ(hand.animationSets.size(), 2u);
    EXPECT_EQ(hand.animTicksPerSecond, 25u);
    const AnimationRecord& hip = hand.animationSets[0].animations.at(0);
    EXPECT_EQ(hip.frame, 0);
    EXPECT_FALSE(hip.closed);
    ASSERT_EQ(hip.rotationKeys.size(), 2u);
    EXPECT_EQ(hip.rotationKeys[1].value, (Quaternion{-1, 0, 0, 0}));
    EXPECT_EQ(hip.positionKeys.at(1).value.x, 1.25f);
    EXPECT_EQ(hip.positionKeys.at(1).value.y, -3.0f);
    const AnimationRecord& knee = hand.animationSets[0].animations.at(1);
    EXPECT_EQ(knee.frameName, "Knee");
    EXPECT_EQ(knee.matrixKeys.at(0).value.m[12], -4.0f);
    EXPECT_EQ(hand.animationSets[1].animations.at(0).frame, 1);

    std::vector<std::pair<std::string, std::string>> texts = {{"by hand", kAnimated}};
    for (const char* file : {"assimp/BCN_Epileptic.X", "assimp/Testwuson.X", "assimp/anim_test.x",
                             "minetest_game/character.x", "irrlicht/earth.x"})
        texts.emplace_back(file, testing_support::ReadFileBytes(testing_support::CorpusPath(file)));
    for (const auto& [name, text] : texts) {
        const std::vector<Twin> twins = TwinsOf(text);
        const Model fromText = Read(twins[0]);
        ASSERT_FALSE(fromText.animationSets.empty()) << name;
        for (const Twin& twin : twins) {
            const Model model = Read(twin);
            EXPECT_EQ(FirstDifference(model.animationSets, fromText.animationSets), "") << name << " " << twin.form;
            EXPECT_EQ(model.animTicksPerSecond, fromText.animTicksPerSecond) << name << " " << twin.form;
        }
    }
}

// Each fault leaves out its key list, or its animation when nothing of it
// remains; the sets stay, in file order, and the mesh loads whole.
TEST(AnimationDamage, LeavesOutWhatDoesNotHoldTogetherInEveryForm)
{
    auto animation = [](const std::string& frame, const std::string& keys) {
        return " Animation {\n  { " + frame + " }\n" + keys + " }\n";
    };
    auto key = [](const std::string& numbers) { return "  AnimationKey {\n   " + numbers + "\n  }\n"; };
    const std::string goodPositions = key("2;\n2;\n0;3;1,2,3;;,\n8;3;4,5,6;;;");
    const std::string text =
        kHeader + kScene + "AnimationSet Damaged {\n" +
        // a count beyond its keys (far beyond: nothing is reserved for it), then a good list
        animation("Hip", key("0;\n4000000000;\n0;4;1,0,0,0;;,\n10;4;0,1,0,0;;;") + goodPositions) +
        // three values in a rotation key, an unknown key type, keys out of time order: no list left
        animation("Knee", key("0;\n2;\n0;4;1,0,0,0;;,\n10;3;0,1,0;;;") + key("3;\n1;\n0;3;1,1,1;;;") +
                              key("1;\n2;\n10;3;1,1,1;;,\n5;3;2,2,2;;;")) +
        animation("Nowhere", goodPositions) +  // no such frame
        animation("Knee", key("1;\n1;\n0;3;2,2,2;;;")) + "}\n" +
        "Animation Loose {\n { Hip }\n" + goodPositions + "}\n" +  // in no set
        "AnimationSet Emptied {\n" + animation("Nowhere", goodPositions) + "}\n";

    for (const Twin& twin : TwinsOf(text)) {
        SCOPED_TRACE(twin.form);
        const Model model = Read(twin);
        ASSERT_EQ(model.meshes.size(), 1u);
        EXPECT_EQ(model.meshes[0].vertexCount(), 3);
        EXPECT_EQ(model.meshes[0].faceCount(), 1);
        ASSERT_EQ(model.animationSets.size(), 2u);
        EXPECT_EQ(model.animationSets[1].name, "Emptied");
        EXPECT_TRUE(model.animationSets[1].animations.empty());
        const auto& kept = model.animationSets[0].animations;
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_EQ(kept[0].frameName, "Hip");
        EXPECT_TRUE(kept[0].rotationKeys.empty());
        ASSERT_EQ(kept[0].positionKeys.size(), 2u);
        EXPECT_EQ(kept[0].positionKeys[1].time, 8u);
        EXPECT_EQ(kept[0].positionKeys[1].value.z, 6.0f);
        EXPECT_EQ(kept[1].frame, 1);
        EXPECT_EQ(kept[1].scaleKeys.size(), 1u);
    }
}

}  // namespace
