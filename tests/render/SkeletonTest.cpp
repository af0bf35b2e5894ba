// The skeleton of the drawn pose: posed with the meshes, in the coordinates
// they are drawn in, and drawn over them.
#include "MeshBuilder.h"
#include "model/AnimationSampling.h"
#include "TestSupport.h"
#include "render/DrawSkeleton.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kSize = 96;

Matrix4 Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

// An arm of two bones standing in the plane z = 1: "Lower" from y = 0,
// "Upper" its child from the joint at y = 1, a strip of three columns
// (x = -0.5, 0, 0.5) and three rows, the joint's row half with each bone.
// Its set turns the lower bone a quarter about z (x toward y) in ten ticks.
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
    AnimationSetRecord& set = model.animationSets.emplace_back();
    AnimationRecord& turn = set.animations.emplace_back();
    turn.frameName = "Lower";
    turn.frame = 0;
    const float half = std::sqrt(0.5f);
    turn.rotationKeys = {{0, {}}, {10, {half, 0, 0, -half}}};
    return model;
}

class Skeletons : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
        glDisable(GL_CULL_FACE);
    }
    void Load(Model model, const PoseChoice& pose)
    {
        loaded.model = std::move(model);
        PrepareLoadedModel(loaded, pose);
    }
    // The joint of frame "Upper" (the bone that is not the root's).
    Vector3 UpperJoint() const
    {
        const Skeleton& skeleton = loaded.render.skeleton();
        EXPECT_EQ(skeleton.bones.size(), 1u);
        return skeleton.bones.empty() ? Vector3{} : skeleton.joints[skeleton.bones[0][0]];
    }
    Vector3 DrawnVertex(std::size_t v) const { return loaded.render.Geometry(loaded.model, 0).vertices[v]; }

    LoadedModel loaded;
};

TEST_F(Skeletons, JointsSitOnTheBendOfThePosedMeshAndFollowTheAnimation)
{
    Load(TwoBoneArm(), PoseChoice{true});
    // Mirrored in z as the meshes are drawn.
    ExpectNear(UpperJoint(), {0, 1, -1});
    ExpectNear(UpperJoint(), DrawnVertex(4));

    const double end = TimingOf(loaded.model, 0).LengthSeconds();
    loaded.ShowPose({true, 0, end}, DrawPath::BufferObjects);
    ExpectNear(UpperJoint(), {-1, 0, -1});
    ExpectNear(UpperJoint(), DrawnVertex(4));
    loaded.ShowPose({true, 0, end / 2}, DrawPath::Immediate);
    ExpectNear(UpperJoint(), DrawnVertex(4));

    loaded.ShowPose({}, DrawPath::Immediate);
    EXPECT_TRUE(loaded.render.SkeletonJoints().empty()) << "as read, meshes are not placed by their bones";
}

TEST_F(Skeletons, AModelOfFramesAloneIsPosedAsAuthoredEvenAsRead)
{
    Model model = TwoBoneArm();
    model.meshes.clear();
    model.frames.push_back({"Lone", -1, Translation(3, 0, 2)});
    Load(std::move(model), PoseChoice{});
    ASSERT_EQ(loaded.render.SkeletonJoints().size(), 3u);
    ExpectNear(UpperJoint(), {0, 1, 1});  // the file's own coordinates, as a model as read is drawn
    ExpectNear(loaded.render.SkeletonJoints()[2], {3, 0, 2});

    loaded.ShowPose({true, 0, TimingOf(loaded.model, 0).LengthSeconds()}, DrawPath::Immediate);
    ExpectNear(UpperJoint(), {-1, 0, -1});
    ExpectNear(loaded.render.SkeletonJoints()[2], {3, 0, -2});
}

TEST_F(Skeletons, DrawnOverTheModelInItsOwnColourLeavingTheStateAsItWas)
{
    // The arm behind a blue square nearer the eye (as authored, the file's
    // -z comes forward).
    Model model = TwoBoneArm();
    MeshRecord screen = render_testing::MakeMesh({}, {}, {}, {{{0, 0, 1, 1}}});
    render_testing::AddSquare(screen, -2, -1, 2, 3, -2, 0);
    model.meshes.push_back(std::move(screen));
    Load(std::move(model), PoseChoice{true});

    ViewOptions options;
    options.asAuthored = true;
    auto centreAfter = [&](bool skeleton) {
        SetPerspective(kSize, kSize);
        AimCamera(kStartCameraDistance);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 0, 0, {0, 1, 0});
        if (skeleton) {
            glTranslatef(0, -1, 0);  // as the scene was drawn about its centre
            glLineWidth(1.5f);
            glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
            DrawSkeleton(loaded.render);
        }
        glFinish();
        const std::vector<std::uint8_t> pixels = context->ReadPixels();
        const std::size_t i = (kSize / 2 * kSize + kSize / 2) * 4;
        return std::array<int, 3>{pixels[i], pixels[i + 1], pixels[i + 2]};
    };
    const auto covered = centreAfter(false);
    EXPECT_GT(covered[2], covered[0] + 20) << "the blue square covers the upper joint";
    EXPECT_EQ(centreAfter(true), (std::array<int, 3>{255, 255, 0})) << "the joint drawn over it, in yellow";

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_TEXTURE_2D));
    GLfloat width = 0, colour[4]{};
    glGetFloatv(GL_LINE_WIDTH, &width);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(width == 1.5f && colour[2] == 0.75f);
}

}  // namespace
