// Animations read the same from a text file and from its binary and
// compressed twins, damaged ones included: both readers keep what holds
// together and leave out the rest, and the model loads.
#include "model/file/ModelFile.h"
#include "FileTwins.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace {

using testing_support::TwinsOf;


Model Read(const std::string& bytes)
{
    testing_support::MessageRecorder recorder;
    std::optional<Model> model = testing_support::ShowingRefusal(ReadModelBytes("twin.x", bytes));
    EXPECT_TRUE(model && recorder.messages().empty());
    return model ? std::move(*model) : Model{};
}

// Everything the sets hold, floats to the last bit, one animation a line.
std::string Describe(const Model& model)
{
    std::string text = "ticks " + std::to_string(model.animTicksPerSecond.value_or(0)) + "\n";
    auto add = [&](char list, std::uint32_t time, std::span<const float> values) {
        text += std::string(" ") + list + std::to_string(time);
        for (const float value : values) {
            char number[32];
            std::snprintf(number, sizeof number, ",%a", static_cast<double>(value));
            text += number;
        }
    };
    for (const AnimationSetRecord& set : model.animationSets) {
        text += "set " + set.name + "\n";
        for (const AnimationRecord& a : set.animations) {
            text += a.frameName + "#" + std::to_string(a.frame) + (a.closed ? " closed" : "") +
                    (a.linearPositions ? " linear" : "");
            for (const auto& k : a.rotationKeys)
                add('r', k.time, std::array{k.value.w, k.value.x, k.value.y, k.value.z});
            for (const auto& k : a.scaleKeys) add('s', k.time, std::array{k.value.x, k.value.y, k.value.z});
            for (const auto& k : a.positionKeys) add('p', k.time, std::array{k.value.x, k.value.y, k.value.z});
            for (const auto& k : a.matrixKeys) add('m', k.time, k.value.m);
            text += "\n";
        }
    }
    return text;
}

const std::string kHeader = "xof 0303txt 0032\n";
const std::string kScene = "Frame Hip {\n Frame Knee {\n }\n Mesh Leg {\n  3;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n"
                           "  0.0;1.0;0.0;;\n  1;\n  3;0,1,2;;\n }\n}\n";

TEST(AnimationTwins, ReadTheSameAnimationsAsTheirText)
{
    // The first rate above 0, values written as integers ("-1"), numbers on the brace line, a name in
    // parentheses, every key type, a time beyond 32 bits, options, an unnamed set.
    const std::string animated =
        kHeader + "AnimTicksPerSecond {\n 0;\n}\nAnimTicksPerSecond {\n 2.5;\n}\nAnimTicksPerSecond fps { 25; }\n" +
        "AnimTicksPerSecond {\n 60;\n}\n" + kScene +
        "AnimationSet Walk {\n Animation Anim-Walk-Hip {\n  { Hip }\n  AnimationOptions { 0; 1; }\n"
        "  AnimationKey {\n   0;\n   2;\n   0;4;1,0,0,0;;,\n   10;4;-1,0,0,0;;;\n  }\n"
        "  AnimationKey {\n   2;\n   1;\n   0;3;0.5,-2,0;;;\n  }\n }\n"
        " Animation (Knee) {\n  AnimationKey {\n   1;\n   1;\n   5;3;2,2,2;;;\n  }\n"
        "  AnimationKey { 0; 2; 0;4;1,0,0,0;;, 4294967295;4;0,1,0,0;;; }\n"
        "  AnimationKey // the matrix\n  {\n   4;\n   1;\n   5;16;1,0,0,0,0,1,0,0,0,0,1,0,-4,5.5,6,1;;;\n  }\n }\n}\n"
        "AnimationSet {\n Animation {\n  {Knee}\n  AnimationKey {\n   1;\n   1;\n   0;3;1,1,1;;;\n  }\n }\n}\n";
    EXPECT_EQ(Describe(Read(animated)),
              "ticks 25\nset Walk\nHip#0 linear r0,0x1p+0,0x0p+0,0x0p+0,0x0p+0 r10,-0x1p+0,0x0p+0,0x0p+0,0x0p+0"
              " p0,0x1p-1,-0x1p+1,0x0p+0\nKnee#1 closed linear s5,0x1p+1,0x1p+1,0x1p+1 m5,0x1p+0,0x0p+0,0x0p+0,0x0p+0,"
              "0x0p+0,0x1p+0,0x0p+0,0x0p+0,0x0p+0,0x0p+0,0x1p+0,0x0p+0,-0x1p+2,0x1.6p+2,0x1.8p+2,0x1p+0\n"
              "set \nKnee#1 closed linear s0,0x1p+0,0x1p+0,0x1p+0\n");

    std::vector<std::string> texts = {animated};
    for (const char* file : {"assimp/BCN_Epileptic.X", "assimp/Testwuson.X", "assimp/anim_test.x",
                             "minetest_game/character.x", "irrlicht/earth.x"})
        texts.push_back(testing_support::ReadFileBytes(testing_support::CorpusPath(file)));
    for (const std::string& text : texts) {
        const std::vector<std::string> twins = TwinsOf(text);
        const std::string expected = Describe(Read(text));
        for (std::size_t form = 1; form < twins.size(); ++form)
            EXPECT_EQ(Describe(Read(twins[form])), expected) << text.substr(0, 80) << "\nform " << form;
    }
}

// Each fault leaves out its key list, or its animation when nothing of it
// remains; the sets stay, in file order, and the mesh loads whole.
TEST(AnimationDamage, LeavesOutWhatDoesNotHoldTogetherInEveryForm)
{
    auto animation = [](const char* frame, const std::string& keys) {
        return " Animation {\n  { " + std::string(frame) + " }\n" + keys + " }\n";
    };
    auto key = [](const char* numbers) { return "  AnimationKey {\n   " + std::string(numbers) + "\n  }\n"; };
    const std::string good = key("2;\n1;\n8;3;4,5,6;;;");
    const std::string text =
        kHeader + kScene + "AnimationSet Damaged {\n" +
        animation("Hip", key("0;\n4000000000;\n0;4;1,0,0,0;;,\n10;4;0,1,0,0;;;") + good) +  // a count beyond its keys
        animation("Knee", key("0;\n2;\n0;4;1,0,0,0;;,\n10;3;0,1,0;;;") +                  // 3 values in a rotation
                              key("3;\n1;\n0;3;1,1,1;;;") +                               // no such key type
                              key("1;\n2;\n10;3;1,1,1;;,\n5;3;2,2,2;;;")) +               // out of time order
        animation("Nowhere", good) + animation("Knee", key("1;\n1;\n0;3;2,2,2;;;")) + "}\n" +
        "Animation Loose {\n { Hip }\n" + good + "}\n" +  // in no set
        "AnimationSet Emptied {\n" + animation("Nowhere", good) + "}\n";

    for (const std::string& twin : TwinsOf(text)) {
        const Model model = Read(twin);
        ASSERT_EQ(model.meshes.size(), 1u);
        EXPECT_EQ(model.meshes[0].vertexCount() + model.meshes[0].faceCount(), 4);
        EXPECT_EQ(Describe(model), "ticks 0\nset Damaged\nHip#0 closed linear p8,0x1p+2,0x1.4p+2,0x1.8p+2\n"
                                   "Knee#1 closed linear s0,0x1p+1,0x1p+1,0x1p+1\nset Emptied\n");
    }
}

}  // namespace
