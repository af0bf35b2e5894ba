// Animations as the text reader finds them: the corpus files, the ways
// exporters name an animation's frame, and the walk's traces around them.
#include "ReaderFixture.h"
#include "model/file/ModelFile.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

namespace {

// "animations rotations/scales/positions/matrices" of a set.
std::string Counts(const AnimationSetRecord& set)
{
    std::size_t r = 0, s = 0, p = 0, m = 0;
    for (const AnimationRecord& a : set.animations) {
        r += a.rotationKeys.size(), s += a.scaleKeys.size(), p += a.positionKeys.size(), m += a.matrixKeys.size();
    }
    return std::to_string(set.animations.size()) + " " + std::to_string(r) + "/" + std::to_string(s) + "/" +
           std::to_string(p) + "/" + std::to_string(m);
}

// The figures were counted in the files: AnimationSet, Animation and
// AnimationKey objects, and the keys of each type.
TEST(CorpusAnimations, ReadAsTheFilesHoldThem)
{
    auto read = [](const char* file) {
        testing_support::MessageRecorder recorder;
        std::optional<Model> model = testing_support::ShowingRefusal(ReadModelFile(testing_support::CorpusPath(file)));
        EXPECT_TRUE(model && recorder.messages().empty()) << file;
        return model ? std::move(*model) : Model{};
    };
    const Model wuson = read("assimp/Testwuson.X");
    ASSERT_EQ(wuson.animationSets.size(), 3u);
    EXPECT_EQ(wuson.animationSets[0].name + wuson.animationSets[1].name + wuson.animationSets[2].name,
              "Wuson_RunWuson_WalkWuson_Bind");
    EXPECT_EQ(Counts(wuson.animationSets[2]).substr(0, 3), "39 ");

    const Model epileptic = read("assimp/BCN_Epileptic.X");
    ASSERT_EQ(epileptic.animationSets.size(), 1u);
    EXPECT_EQ(Counts(epileptic.animationSets[0]), "57 1621/57/156/0");
    EXPECT_EQ(epileptic.animTicksPerSecond, 4800u);
    const AnimationRecord& torso = epileptic.animationSets[0].animations[0];
    // Its frame is not its own name "Anim-Epileptisch-Torso".
    EXPECT_EQ(epileptic.frames.at(static_cast<std::size_t>(torso.frame)).name, "Torso");
    EXPECT_FALSE(torso.linearPositions);  // "AnimationOptions { 1; 0; }"

    EXPECT_EQ(read("assimp/anim_test.x").animTicksPerSecond, 24u);

    // "{Armature}", "AnimationKey { // Rotation", keys as "0;4;-1.000000, 0.000000, 0.000000, 0.000000;;,".
    const Model character = read("minetest_game/character.x");
    ASSERT_EQ(character.animationSets.size(), 2u);
    EXPECT_EQ(character.animationSets[0].name + " " + Counts(character.animationSets[0]),
              "ArmatureAction 8 1768/1768/1768/0");
    EXPECT_EQ(character.animationSets[1].name + " " + Counts(character.animationSets[1]),
              "Default_Action 1 221/221/221/0");
    EXPECT_EQ(character.animationSets[1].animations[0].rotationKeys[0].value, (Quaternion{-1, 0, 0, 0}));

    // The reference stands after the keys.
    EXPECT_EQ(read("irrlicht/earth.x").animationSets.at(0).animations.at(0).frameName, "Frame1_sphere_lwo_layer1");
}

const std::string kFrames = "Frame Hip {\n Frame Knee {\n }\n}\n";

TEST_F(ReaderTest, AnAnimationsFrameIsItsReferenceElseItsNameInParentheses)
{
    // Each animation's one position key tells it apart.
    auto key = [](int x) { return "  AnimationKey {\n   2;\n   1;\n   0;3;" + std::to_string(x) + ",0,0;;;\n  }\n"; };
    const std::string guid = "<01234567-89ab-cdef-0123-456789abcdef>";
    ASSERT_EQ(Read(kFrames + "AnimationSet {\n { Knee }\n"  // a reference below a set's line opens no set
                             " Animation Anim-Knee {\n  {Hip}\n" + key(1) + " }\n"  // the reference, not its own name
                             " Animation (Knee) {\n" + key(2) + " }\n"
                             " Animation ( Hip ) {\n" + key(3) + " }\n"
                             " Animation (Hip)\n {\n" + key(4) + "  { Knee " + guid + " }\n }\n"  // the reference wins
                             " Animation Knee {\n" + key(5) + " }\n"  // a plain name is no frame's
                             " Animation {\n  { " + guid + " }\n" + key(6) + " }\n"
                             " Animation {\n  { Knee }\n  { Hip }\n" + key(7) + " }\n"  // the first reference
                             "}\n" + TriangleMesh("M")),
              S_OK);
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(model.animationSets.size(), 1u);
    std::string frames;
    for (const AnimationRecord& animation : model.animationSets[0].animations)
        frames += std::to_string(static_cast<int>(animation.positionKeys.at(0).value.x)) +
                  model.frames.at(static_cast<std::size_t>(animation.frame)).name + " ";
    EXPECT_EQ(frames, "1Hip 2Knee 3Hip 4Knee 7Knee ");
    EXPECT_EQ(OnlyMesh().vertexCount(), 3);
    // "{Hip}" is traced as the line above names it, as before, and opens no object.
    EXPECT_NE(traces().find("Animation\nID non-reconnu : Animation\nAnimation\nID non-reconnu : Animation\n"
                            "AnimationKey\nID non-reconnu : AnimationKey\nAnimation\n"),
              std::string::npos);
}

}  // namespace
