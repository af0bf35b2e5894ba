// Animations played on the CPU: the key rules, interpolation of each key
// type, time and loops, and real files posed by them.
#include "model/AnimationSampling.h"
#include "model/Pose.h"
#include "tools/xfile_writer/BinaryWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "model/file/ModelFile.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

Matrix4 Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance = 1e-5f)
{
    for (std::size_t k = 0; k < 16; ++k) EXPECT_NEAR(actual.m[k], expected.m[k], tolerance) << "element " << k;
}

Model ReadCorpus(const std::string& name)
{
    testing_support::MessageRecorder recorder;
    std::optional<Model> model = testing_support::ShowingRefusal(ReadModelFile(testing_support::CorpusPath(name)));
    EXPECT_TRUE(model) << name;
    return model ? std::move(*model) : Model{};
}

// The first rotation key of every animated frame of a real exporter's file
// is the rotation of that frame's own matrix: the matrix rule of a key
// (w, x, y, z) agrees with the way the file's matrices are written.
TEST(AnimationSampling, AKeysRotationIsItsFramesMatrixInARealFile)
{
    const Model model = ReadCorpus("assimp/BCN_Epileptic.X");
    ASSERT_EQ(model.animationSets.size(), 1u);
    int compared = 0;
    for (const AnimationRecord& animation : model.animationSets[0].animations) {
        const auto& own = model.frames[static_cast<std::size_t>(animation.frame)].transform;
        if (animation.rotationKeys.empty() || !own) continue;
        const Matrix4 rotation = RotationMatrix(animation.rotationKeys.front().value);
        for (int row = 0; row < 3; ++row) {
            const float* r = &own->m[static_cast<std::size_t>(row) * 4];
            const float length = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
            for (int column = 0; column < 3; ++column)
                EXPECT_NEAR(rotation.m[static_cast<std::size_t>(row * 4 + column)], r[column] / length, 2e-3f)
                    << animation.frameName << " row " << row;
        }
        ++compared;
    }
    EXPECT_EQ(compared, 57);
}

// One frame moved by two keys of each kind, ten ticks apart.
Model TwoKeys(const Matrix4& own)
{
    Model model;
    model.frames = {{"Bone", -1, own}};
    AnimationRecord animation;
    animation.frameName = "Bone";
    animation.frame = 0;
    const float half = std::sqrt(0.5f);
    animation.rotationKeys = {{10, {1, 0, 0, 0}}, {20, {half, 0, 0, half}}};  // none, then a quarter turn about z
    animation.scaleKeys = {{10, {1, 1, 1}}, {20, {3, 5, 7}}};
    animation.positionKeys = {{10, {0, 0, 0}}, {20, {2, 4, 6}}};
    model.animationSets.push_back({"Move", {animation}});
    return model;
}

TEST(AnimationSampling, KeysOfEachKindInterpolateHalfwayAndHoldBeyondTheEnds)
{
    Model model = TwoKeys(Matrix4{});
    std::vector<Matrix4> locals;
    SampleLocals(model, 0, 15, locals);
    // Scale (2, 3, 4), an eighth of a turn about z, then a move to (1, 2, 3).
    const float c = std::cos(std::numbers::pi_v<float> / 8 * 2), s = std::sin(std::numbers::pi_v<float> / 8 * 2);
    ExpectMatrixNear(locals[0], {{2 * c, 2 * -s, 0, 0, 3 * s, 3 * c, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}});
    SampleLocals(model, 0, 0, locals);
    ExpectMatrixNear(locals[0], Matrix4{});
    SampleLocals(model, 0, 1e6, locals);
    ExpectMatrixNear(locals[0], {{0, -3, 0, 0, 5, 0, 0, 0, 0, 0, 7, 0, 2, 4, 6, 1}});

    // Matrix keys: element by element, in place of everything else.
    model.animationSets[0].animations[0].matrixKeys = {{0, Translation(0, 0, 0)}, {4, Translation(8, -4, 2)}};
    SampleLocals(model, 0, 1, locals);
    ExpectMatrixNear(locals[0], Translation(2, -1, 0.5f));

    // The shorter way round: a key and its negation are the same rotation.
    const Quaternion q = Slerp({1, 0, 0, 0}, {-std::sqrt(0.5f), 0, 0, -std::sqrt(0.5f)}, 0.5f);
    ExpectMatrixNear(RotationMatrix(q), RotationMatrix({std::cos(0.3926991f), 0, 0, std::sin(0.3926991f)}));
}

TEST(AnimationSampling, PartsWithoutKeysComeFromTheFramesOwnMatrix)
{
    // A frame mirrored, scaled by 2 and moved; only its rotation is keyed.
    const Matrix4 own{{-2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1}};
    Model model = TwoKeys(own);
    AnimationRecord& animation = model.animationSets[0].animations[0];
    animation.scaleKeys.clear();
    animation.positionKeys.clear();
    std::vector<Matrix4> locals;
    SampleLocals(model, 0, 10, locals);
    ExpectMatrixNear(locals[0], own);  // the first key is no turn: the frame stays as authored
    SampleLocals(model, 0, 20, locals);
    // The mirror stays with the scale: scale (-2, 2, 2), then the quarter turn.
    ExpectMatrixNear(locals[0], {{0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1}});
    // A frame no animation moves keeps its own matrix, one without the identity.
    model.frames.push_back({"Other", -1, Translation(1, 1, 1)});
    model.frames.push_back({"Bare", -1, std::nullopt});
    SampleLocals(model, 0, 15, locals);
    EXPECT_EQ(locals[1], Translation(1, 1, 1));
    EXPECT_EQ(locals[2], Matrix4{});
}

TEST(AnimationSampling, TicksRunAtTheFilesRateOrAsDirectXAndGameExportersDo)
{
    Model model = TwoKeys(Matrix4{});  // keys from tick 10 to 20
    AnimationTiming timing = TimingOf(model, 0);
    EXPECT_EQ(timing.ticksPerSecond, 30) << "short spans are frame numbers";
    EXPECT_DOUBLE_EQ(timing.LengthSeconds(), 10.0 / 30);
    model.animationSets[0].animations[0].positionKeys.back().time = 4810;  // spans 4800 ticks
    EXPECT_EQ(TimingOf(model, 0).ticksPerSecond, 4800);
    model.animTicksPerSecond = 24;
    timing = TimingOf(model, 0);
    EXPECT_EQ(timing.ticksPerSecond, 24);

    // A closed set loops: past its end it starts again; an open one holds its last key.
    ASSERT_TRUE(timing.loops);
    const double length = timing.LengthSeconds();
    EXPECT_NEAR(timing.Wrap(length + 0.25), 0.25, 1e-9);
    EXPECT_NEAR(timing.TickAt(2 * length + 1.0 / 24), 11, 1e-6);
    EXPECT_EQ(timing.Wrap(-1), 0);
    model.animationSets[0].animations[0].closed = false;
    timing = TimingOf(model, 0);
    EXPECT_FALSE(timing.loops);
    EXPECT_DOUBLE_EQ(timing.TickAt(length + 5), 4810);
}

// Key times of every animation and key kind, sorted once each; the length shows the last key.
TEST(AnimationSampling, KeyTimesAreSortedOnceAndTheLengthShowsTheLastKey)
{
    Model model;
    model.frames = {{"A", -1, std::nullopt}, {"B", -1, std::nullopt}};
    model.animTicksPerSecond = 10;
    AnimationSetRecord& set = model.animationSets.emplace_back();
    AnimationRecord& a = set.animations.emplace_back();
    a.frame = 0;
    a.rotationKeys = {{40, {}}, {60, {}}};
    a.positionKeys = {{20, {}}, {40, {}}, {50, {}}};
    AnimationRecord& b = set.animations.emplace_back();
    b.frame = 1;
    b.matrixKeys = {{20, {}}, {35, {}}};
    EXPECT_EQ(KeyTimesOf(model, 0), (std::vector<double>{0, 1.5, 2, 3, 4}));
    const AnimationTiming timing = TimingOf(model, 0);
    EXPECT_EQ(timing.TickAt(timing.LengthSeconds()), 60);
}

// A binary twin of an animated corpus file poses to the same bits as its
// text at a time between keys.
TEST(AnimationSampling, ABinaryTwinPosesExactlyAsItsText)
{
    const std::string text = testing_support::ReadFileBytes(testing_support::CorpusPath("assimp/BCN_Epileptic.X"));
    xfile::Document document;
    std::string error;
    ASSERT_TRUE(xfile::ReadTextObjectsAnyLayout(text, document, error)) << error;
    const std::vector<std::uint8_t> binary = xfile::WriteBinary(document);
    testing_support::MessageRecorder recorder;
    const std::optional<Model> fromText = testing_support::ShowingRefusal(ReadModelBytes("bcn.x", text));
    const std::optional<Model> fromBinary = testing_support::ShowingRefusal(
        ReadModelBytes("bcn.x", std::string_view(reinterpret_cast<const char*>(binary.data()), binary.size())));
    ASSERT_TRUE(fromText && fromBinary);
    ASSERT_EQ(fromText->animationSets.size(), 1u);

    auto posed = [](const Model& model) {
        ScenePose pose(model);
        std::vector<Matrix4> locals;
        SampleLocals(model, 0, TimingOf(model, 0).TickAt(1.234), locals);
        pose.ComputeWorlds(model, locals);
        std::vector<Vector3> all;
        MeshRecord::VertexList vertices;
        for (std::size_t m = 0; m < model.meshes.size(); ++m) {
            pose.PoseMesh(model, m, vertices, nullptr);
            all.insert(all.end(), vertices.begin(), vertices.end());
        }
        return all;
    };
    const std::vector<Vector3> a = posed(*fromText), b = posed(*fromBinary);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GT(a.size(), 1000u);
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(Vector3)), 0);
    // And the pose does move: the set is not still at that time.
    const Model& still = *fromText;
    ScenePose rest(still);
    MeshRecord::VertexList restVertices;
    rest.PoseMesh(still, 0, restVertices, nullptr);
    EXPECT_NE(std::memcmp(restVertices.data(), a.data(), restVertices.size() * sizeof(Vector3)), 0);
}

}  // namespace
