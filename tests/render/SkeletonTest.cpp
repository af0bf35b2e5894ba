// The skeleton of the drawn pose: its joints where the posed mesh bends.
#include "MeshBuilder.h"
#include "model/AnimationSampling.h"
#include "TestSupport.h"
#include "render/LoadedModel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

Matrix4 Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }

// An arm in z = 1: bone "Lower" from y = 0, child "Upper" from y = 1, the strip's middle
// row (vertex 4 at its centre) half with each; its set turns "Lower" a quarter about z.
Model TwoBoneArm()
{
    Model model;
    model.frames = {{"Lower", -1, Translation(0, 0, 1)}, {"Upper", 0, Translation(0, 1, 0)}};
    MeshRecord::VertexList vertices;
    for (float y : {0.0f, 1.0f, 2.0f})
        for (float x : {-0.5f, 0.0f, 0.5f}) vertices.push_back({x, y, 1});
    MeshRecord mesh = render_testing::MakeMesh(std::move(vertices), {{0, 1, 4, 3}, {1, 2, 5, 4}, {3, 4, 7, 6}, {4, 5, 8, 7}},
                                               MeshRecord::FaceMaterialList{0, 0, 0, 0}, {{}});
    mesh.skinWeights = {{"Lower", {0, 1, 2, 3, 4, 5}, {1, 1, 1, 0.5f, 0.5f, 0.5f}, Translation(0, 0, -1)},
                        {"Upper", {3, 4, 5, 6, 7, 8}, {0.5f, 0.5f, 0.5f, 1, 1, 1}, Translation(0, -1, -1)}};
    model.meshes.push_back(std::move(mesh));
    AnimationRecord& turn = model.animationSets.emplace_back().animations.emplace_back();
    turn.frameName = "Lower";
    turn.frame = 0;
    const float half = std::sqrt(0.5f);
    turn.rotationKeys = {{0, {}}, {10, {half, 0, 0, -half}}};
    return model;
}

TEST(Skeletons, JointsSitOnTheBendOfThePosedMeshAndFollowTheAnimation)
{
    platform::HeadlessContext context(16, 16);
    ASSERT_TRUE(context.Ok()) << context.Error();
    LoadedModel loaded;
    loaded.model = TwoBoneArm();
    PrepareLoadedModel(loaded, PoseChoice{true});
    auto expectJointAtBend = [&](const Vector3& expected) {
        const Skeleton& skeleton = loaded.render.skeleton();
        ASSERT_EQ(skeleton.bones.size(), 1u);
        const Vector3 joint = skeleton.joints[skeleton.bones[0][0]];
        const Vector3 bend = loaded.render.Geometry(loaded.model, 0).vertices[4];
        for (const auto& [a, b, c] : {std::array{joint.x, bend.x, expected.x}, std::array{joint.y, bend.y, expected.y},
                                      std::array{joint.z, bend.z, expected.z}})
            EXPECT_TRUE(std::abs(a - b) < 1e-5f && std::abs(a - c) < 1e-5f) << a << " " << b << " " << c;
    };
    expectJointAtBend({0, 1, -1});  // mirrored in z as the meshes are drawn
    const double end = TimingOf(loaded.model, 0).LengthSeconds();
    loaded.ShowPose({true, 0, end}, DrawPath::BufferObjects);
    expectJointAtBend({-1, 0, -1});
    loaded.ShowPose({true, 0, end / 2}, DrawPath::Immediate);
    const float half = std::sqrt(0.5f);
    expectJointAtBend({-half, half, -1});
}

}  // namespace
