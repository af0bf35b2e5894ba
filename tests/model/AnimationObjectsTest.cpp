// Animations as the text reader finds them: the corpus files, the ways
// exporters name an animation's frame, and the walk's traces around them.
#include "ReaderFixture.h"
#include "model/file/ModelFile.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct KeyCounts {
    std::size_t animations = 0, rotations = 0, scales = 0, positions = 0, matrices = 0;
    bool operator==(const KeyCounts&) const = default;
};

KeyCounts CountsOf(const AnimationSetRecord& set)
{
    KeyCounts counts;
    for (const AnimationRecord& animation : set.animations) {
        ++counts.animations;
        counts.rotations += animation.rotationKeys.size();
        counts.scales += animation.scaleKeys.size();
        counts.positions += animation.positionKeys.size();
        counts.matrices += animation.matrixKeys.size();
    }
    return counts;
}

Model ReadCorpus(const std::string& file)
{
    testing_support::MessageRecorder recorder;
    std::optional<Model> model = ReadModelFile(testing_support::CorpusPath(file));
    EXPECT_TRUE(model) << file;
    EXPECT_TRUE(recorder.messages().empty()) << file;
    return model ? std::move(*model) : Model{};
}

// Every animation found its frame, by the name the file gives.
void ExpectFramesFound(const Model& model)
{
    for (const AnimationSetRecord& set : model.animationSets)
        for (const AnimationRecord& animation : set.animations) {
            ASSERT_GE(animation.frame, 0);
            ASSERT_LT(static_cast<std::size_t>(animation.frame), model.frames.size());
            EXPECT_EQ(model.frames[static_cast<std::size_t>(animation.frame)].name, animation.frameName);
        }
}

// The figures below were counted in the files themselves (AnimationSet,
// Animation and AnimationKey objects, and the key counts by key type).
TEST(CorpusAnimations, ReadAsTheFilesHoldThem)
{
    const Model wuson = ReadCorpus("assimp/Testwuson.X");
    ASSERT_EQ(wuson.animationSets.size(), 3u);
    EXPECT_EQ(wuson.animationSets[0].name, "Wuson_Run");
    EXPECT_EQ(wuson.animationSets[1].name, "Wuson_Walk");
    EXPECT_EQ(wuson.animationSets[2].name, "Wuson_Bind");
    std::size_t rotations = 0;
    for (const AnimationSetRecord& set : wuson.animationSets) {
        EXPECT_EQ(set.animations.size(), 39u);
        rotations += CountsOf(set).rotations;
    }
    EXPECT_EQ(rotations, 4302u);
    EXPECT_EQ(wuson.animTicksPerSecond, 4800u);
    ExpectFramesFound(wuson);

    const Model epileptic = ReadCorpus("assimp/BCN_Epileptic.X");
    ASSERT_EQ(epileptic.animationSets.size(), 1u);
    EXPECT_EQ(epileptic.animationSets[0].name, "Epileptisch");
    EXPECT_EQ(CountsOf(epileptic.animationSets[0]), (KeyCounts{57, 1621, 57, 156, 0}));
    EXPECT_EQ(epileptic.animTicksPerSecond, 4800u);
    const AnimationRecord& torso = epileptic.animationSets[0].animations[0];
    EXPECT_EQ(torso.frameName, "Torso");  // not its own name "Anim-Epileptisch-Torso"
    EXPECT_TRUE(torso.closed);
    EXPECT_FALSE(torso.linearPositions);  // "AnimationOptions { 1; 0; }"
    EXPECT_EQ(torso.rotationKeys.at(0).value, (Quaternion{0.707107f, -0.707107f, 0, 0}));
    ExpectFramesFound(epileptic);

    const Model cylinder = ReadCorpus("assimp/anim_test.x");
    EXPECT_EQ(cylinder.animTicksPerSecond, 24u);
    ASSERT_EQ(cylinder.animationSets.size(), 1u);
    EXPECT_EQ(cylinder.animationSets[0].name, "cylinder_test");
    EXPECT_EQ(CountsOf(cylinder.animationSets[0]), (KeyCounts{4, 96, 96, 96, 0}));
    EXPECT_EQ(cylinder.animationSets[0].animations[1].frameName, "joint2");
    ExpectFramesFound(cylinder);

    // "{Armature}" without blanks, "AnimationKey { // Rotation", keys written "0;4;-1.000000, 0.000000, ...;;,".
    const Model character = ReadCorpus("minetest_game/character.x");
    ASSERT_EQ(character.animationSets.size(), 2u);
    EXPECT_EQ(character.animationSets[0].name, "ArmatureAction");
    EXPECT_EQ(character.animationSets[1].name, "Default_Action");
    EXPECT_EQ(character.animationSets[0].animations.size(), 8u);
    ASSERT_EQ(character.animationSets[1].animations.size(), 1u);
    const AnimationRecord& player = character.animationSets[1].animations[0];
    EXPECT_EQ(player.frameName, "Player");
    ASSERT_EQ(player.rotationKeys.size(), 221u);
    EXPECT_EQ(player.rotationKeys[220].time, 220u);
    EXPECT_EQ(player.rotationKeys[0].value, (Quaternion{-1, 0, 0, 0}));
    ExpectFramesFound(character);

    // The reference stands after the keys.
    const Model earth = ReadCorpus("irrlicht/earth.x");
    ASSERT_EQ(earth.animationSets.size(), 1u);
    ASSERT_EQ(earth.animationSets[0].animations.size(), 1u);
    EXPECT_EQ(earth.animationSets[0].animations[0].frameName, "Frame1_sphere_lwo_layer1");
    EXPECT_EQ(CountsOf(earth.animationSets[0]), (KeyCounts{1, 61, 61, 61, 0}));
    ExpectFramesFound(earth);
}

const std::string kFrames = "Frame Hip {\n Frame Knee {\n }\n}\n";
const std::string kOneKey = "  AnimationKey {\n   2;\n   1;\n   0;3;1,2,3;;;\n  }\n";

std::map<std::string, std::string> FramesByAnimation(const Model& model)
{
    std::map<std::string, std::string> frames;
    for (const AnimationSetRecord& set : model.animationSets)
        for (const AnimationRecord& animation : set.animations)
            frames[set.name + "/" + std::to_string(animation.positionKeys.at(0).value.x)] = animation.frameName;
    return frames;
}

TEST_F(ReaderTest, AnAnimationsFrameIsItsReferenceElseItsNameInParentheses)
{
    auto keyAt = [](const char* x) { return "  AnimationKey {\n   2;\n   1;\n   0;3;" + std::string(x) + ",0,0;;;\n  }\n"; };
    ASSERT_EQ(Read(kFrames + "AnimationSet Forms {\n"
                             " Animation Anim-Knee {\n  {Hip}\n" + keyAt("1") + " }\n"      // the reference, not its own name
                             " Animation (Knee) {\n" + keyAt("2") + " }\n"                  // parentheses
                             " Animation ( Hip ) {\n" + keyAt("3") + " }\n"
                             " Animation (Hip) {\n  { Knee }\n" + keyAt("4") + " }\n"       // the reference wins
                             " Animation (Hip)\n {\n" + keyAt("5") + "  { Knee <01234567-89ab-cdef-0123-456789abcdef> }\n }\n"
                             " Animation Knee {\n" + keyAt("6") + " }\n"                    // a plain name is no frame's
                             " Animation {\n  { <01234567-89ab-cdef-0123-456789abcdef> }\n" + keyAt("7") + " }\n"
                             " Animation {\n  { Knee }\n  { Hip }\n" + keyAt("8") + " }\n"  // the first reference
                             "}\n" + TriangleMesh("M")),
              S_OK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(FramesByAnimation(model), (std::map<std::string, std::string>{{"Forms/1.000000", "Hip"},
                                                                             {"Forms/2.000000", "Knee"},
                                                                             {"Forms/3.000000", "Hip"},
                                                                             {"Forms/4.000000", "Knee"},
                                                                             {"Forms/5.000000", "Knee"},
                                                                             {"Forms/8.000000", "Knee"}}));
    EXPECT_EQ(OnlyMesh().vertexCount(), 3);
}

TEST_F(ReaderTest, AReferenceInAnAnimationOpensNothingAndTracesAsBefore)
{
    ASSERT_EQ(Read(kFrames + "AnimationSet {\n Animation Anim-Hip {\n { Hip }\n" + kOneKey + " }\n}\n"), S_OK);
    EXPECT_EQ(traces(),
              "Frame\nID non-reconnu : Frame\nFrame\nID non-reconnu : Frame\n"
              "AnimationSet\nID non-reconnu : AnimationSet\nAnimation\nID non-reconnu : Animation\n"
              "Animation\nID non-reconnu : Animation\n"  // "{ Hip }", named by the line above
              "AnimationKey\nID non-reconnu : AnimationKey\n");
    ASSERT_EQ(model.animationSets.size(), 1u);
    EXPECT_EQ(model.animationSets[0].name, "");
    ASSERT_EQ(model.animationSets[0].animations.size(), 1u);
    EXPECT_EQ(model.animationSets[0].animations[0].frameName, "Hip");
    EXPECT_EQ(model.animationSets[0].animations[0].frame, 0);
    // A reference right below a set's line opens no second set either.
    ASSERT_EQ(Read(kFrames + "AnimationSet Walk {\n { Elsewhere }\n Animation {\n { Knee }\n" + kOneKey + " }\n}\n"),
              S_OK);
    ASSERT_EQ(model.animationSets.size(), 1u);
    EXPECT_EQ(model.animationSets[0].animations.at(0).frame, 1);
}

// Numbers may stand on the brace line; the first rate above 0 wins.
TEST_F(ReaderTest, ReadsTicksOptionsAndKeysWhereverTheirNumbersStand)
{
    ASSERT_EQ(Read("AnimTicksPerSecond {\n 0;\n}\nAnimTicksPerSecond fps { 30; }\nAnimTicksPerSecond {\n 60;\n}\n" +
                   kFrames +
                   "AnimationSet {\n Animation {\n  { Knee }\n  AnimationOptions { 0; 0; }\n"
                   "  AnimationKey { 0; 2; 0;4;1,0,0,0;;, 4294967295;4;0,1,0,0;;; }\n"  // no tick count in 32 bits
                   "  AnimationKey { 1; 1; 7;3;1,1,1;;; }\n"
                   "  AnimationKey // the matrix\n  {\n   4;\n   1;\n   3;16;1,0,0,0,0,1,0,0,0,0,1,0,5,6,7,1;;;\n  }\n"
                   " }\n}\n"),
              S_OK);
    EXPECT_EQ(model.animTicksPerSecond, 30u);
    ASSERT_EQ(model.animationSets.size(), 1u);
    ASSERT_EQ(model.animationSets[0].animations.size(), 1u);
    const AnimationRecord& knee = model.animationSets[0].animations[0];
    EXPECT_FALSE(knee.closed);
    EXPECT_FALSE(knee.linearPositions);
    EXPECT_TRUE(knee.rotationKeys.empty());
    ASSERT_EQ(knee.scaleKeys.size(), 1u);
    EXPECT_EQ(knee.scaleKeys[0].time, 7u);
    ASSERT_EQ(knee.matrixKeys.size(), 1u);
    EXPECT_EQ(knee.matrixKeys[0].value.m[13], 6.0f);

    ASSERT_EQ(Read("AnimTicksPerSecond {\n 2.5;\n}\nAnimTicksPerSecond {\n}\n" + TriangleMesh("M")), S_OK);
    EXPECT_FALSE(model.animTicksPerSecond);
    EXPECT_TRUE(model.animationSets.empty());
}

}  // namespace
