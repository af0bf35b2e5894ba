// The pose of a scene without OpenGL: world matrices from locals, skinning,
// normals through the inverse transpose.
#include "model/Pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

Matrix4 Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }
Matrix4 Scale(float x, float y, float z) { return {{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}}; }
// A quarter turn about z, for row vectors: x goes to y.
const Matrix4 kQuarterTurn{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

FrameRecord Frame(const char* name, std::int32_t parent, std::optional<Matrix4> transform)
{
    return {name, parent, transform};
}

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(ScenePose, WorldsComposeDownTheHierarchyFromOwnOrSuppliedLocals)
{
    Model model;
    model.frames = {Frame("Root", -1, Translation(1, 0, 0)), Frame("Arm", 0, kQuarterTurn), Frame("Hand", 1, std::nullopt),
                    Frame("Stray", 7, Translation(0, 0, 5))};  // its parent does not come before it: a root
    ScenePose pose(model);
    // A child's matrix first, then its parent's.
    EXPECT_EQ(pose.WorldOf(1), kQuarterTurn * Translation(1, 0, 0));
    EXPECT_EQ(pose.WorldOf(2), pose.WorldOf(1)) << "a frame without a matrix sits where its parent is";
    EXPECT_EQ(pose.WorldOf(3), Translation(0, 0, 5));
    EXPECT_EQ(pose.WorldOf(-1), Matrix4{});
    EXPECT_EQ(pose.WorldOf(99), Matrix4{});

    const std::vector<Matrix4> locals{Translation(0, 2, 0), Matrix4{}, Scale(2, 2, 2), Matrix4{}};
    pose.ComputeWorlds(model, locals);
    EXPECT_EQ(pose.WorldOf(2), Scale(2, 2, 2) * Translation(0, 2, 0));
    pose.ComputeWorlds(model);  // back to the frames' own
    EXPECT_EQ(pose.WorldOf(1), kQuarterTurn * Translation(1, 0, 0));
}

// Two bones: "Still" where it stands, "Turned" a quarter turn about the
// origin. Vertex 0 goes with Still, 1 with Turned, 2 half with each, 3 with
// no bone (the enclosing frame's move); the weights of a vertex the mesh
// does not have, and a skin of a bone that is no frame, are left out.
TEST(ScenePose, SkinnedVerticesAndNormalsFollowTheirWeightedBones)
{
    Model model;
    model.frames = {Frame("Body", -1, Translation(0, 0, 3)), Frame("Still", -1, std::nullopt),
                    Frame("Turned", -1, kQuarterTurn)};
    MeshRecord& mesh = model.meshes.emplace_back();
    mesh.frame = 0;
    mesh.vertices = {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}};
    mesh.normals = MeshRecord::VertexList{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    mesh.skinWeights = {{"Still", {0, 2, 40}, {1, 0.5f, 1}, {}},
                        {"Turned", {1, 2}, {1, 0.5f}, {}},
                        {"Nobody", {3}, {1}, Translation(9, 9, 9)}};
    const ScenePose pose(model);

    MeshRecord::VertexList vertices(17), normals;  // whatever the buffers held before
    pose.PoseMesh(model, 0, vertices, &normals);
    ASSERT_EQ(vertices.size(), 4u);
    ExpectNear(vertices[0], {1, 0, 0});
    ExpectNear(vertices[1], {0, 1, 0});
    ExpectNear(vertices[2], {0.5f, 0.5f, 0});
    ExpectNear(vertices[3], {1, 0, 3});
    ASSERT_EQ(normals.size(), 5u);
    ExpectNear(normals[1], {0, 1, 0});
    const float half = std::sqrt(0.5f);
    ExpectNear(normals[2], {half, half, 0});  // a blended normal is made unit again
    ExpectNear(normals[3], {0, 0, 1});
    ExpectNear(normals[4], {0, 1, 0});  // a normal beyond the vertices is kept

    // The same pose twice gives the same bytes; without normals none are touched.
    MeshRecord::VertexList again;
    pose.PoseMesh(model, 0, again, nullptr);
    EXPECT_EQ(std::memcmp(again.data(), vertices.data(), sizeof(Vector3) * 4), 0);
}

TEST(ScenePose, NormalsGoByTheInverseTransposeAndSurviveAFlatTransform)
{
    // A plane x + y = 1 stretched along x: its normal leans toward y.
    Model model;
    model.frames = {Frame("Stretch", -1, Scale(2, 1, 1)), Frame("Flat", -1, Scale(1, 0, 1))};
    MeshRecord& mesh = model.meshes.emplace_back();
    mesh.frame = 0;
    mesh.vertices = {{1, 0, 0}};
    const float half = std::sqrt(0.5f);
    mesh.normals = MeshRecord::VertexList{{half, half, 0}};
    ScenePose pose(model);
    MeshRecord::VertexList vertices, normals;
    pose.PoseMesh(model, 0, vertices, &normals);
    ExpectNear(vertices[0], {2, 0, 0});
    const float length = std::sqrt(0.25f + 1.0f);
    ExpectNear(normals[0], {0.5f / length, 1 / length, 0});

    model.meshes[0].frame = 1;  // flattens space: the normal stays as it was
    pose.PoseMesh(model, 0, vertices, &normals);
    ExpectNear(normals[0], {half, half, 0});
}

}  // namespace
