// Stored normals and vertex colours without OpenGL: what both readers keep
// (and leave out) in all five file forms, the vertices a split mesh is
// drawn with, and stored normals through a skin.
#include "model/AuthoredSurface.h"
#include "model/Pose.h"
#include "model/file/ModelFile.h"
#include "FileTwins.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using testing_support::TwinsOf;

// A square of two quads sharing an edge (vertices 1 and 4): a crease.
std::string Crease(const std::string& inside)
{
    return "xof 0303txt 0032\nMesh Crease {\n 6;\n 0;0;0;,\n 1;0;0;,\n 1;1;0;,\n 0;1;0;,\n 2;0;1;,\n 2;1;1;;\n"
           " 2;\n 4;0,3,2,1;,\n 4;1,2,5,4;;\n" +
           inside + "}\n";
}
// Floats spelt as floats, as exporters write them in binary files too.
const std::string kNormals =
    " MeshNormals {\n 2;\n 0.0;0.0;-1.0;, 0.7;0.0;-0.7;;\n 2;\n 4;0,0,0,0;, 4;1,1,1,1;;\n }\n";
const std::string kColors = " MeshVertexColors {\n 2;\n 4;1.0;0.0;0.0;1.0;, 1;0.0;0.5;1.0;2.0;;\n }\n";


MeshRecord ReadMesh(const std::string& bytes)
{
    testing_support::MessageRecorder recorder;
    std::optional<Model> model = testing_support::ShowingRefusal(ReadModelBytes("surface.x", bytes));
    EXPECT_TRUE(model && recorder.messages().empty() && model->meshes.size() == 1);
    return model && model->meshes.size() == 1 ? model->meshes[0] : MeshRecord{};
}

TEST(AuthoredSurface, BothReadersKeepWhatFitsAndLeaveOutTheRest)
{
    for (const std::string& file : TwinsOf(Crease(kNormals + kColors))) {
        const MeshRecord mesh = ReadMesh(file);
        ASSERT_TRUE(mesh.storedNormals);
        EXPECT_EQ(mesh.storedNormals->normals, (std::vector<Vector3>{{0, 0, -1}, {0.7f, 0, -0.7f}}));
        EXPECT_EQ(mesh.storedNormals->cornerNormals, (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
        ASSERT_TRUE(mesh.vertexColors);
        const std::vector<VertexColor> colors{{1, 1, 1, 1}, {0, 0.5f, 1, 1}, {1, 1, 1, 1},
                                              {1, 1, 1, 1}, {1, 0, 0, 1},    {1, 1, 1, 1}};
        EXPECT_EQ(*mesh.vertexColors, colors) << "unnamed vertices white, components held to 0..1";
    }
    // Damage of every kind: the mesh loads, without what did not fit.
    const std::vector<std::string> damaged{
        " MeshNormals {\n 3;\n 0;0;-1;, 1;0;0;;\n 2;\n 4;0,0,0,0;, 4;1,1,1,1;;\n }\n",  // more normals than given
        " MeshNormals {\n 2;\n 0;0;-1;, 1;0;0;;\n 1;\n 4;0,0,0,0;;\n }\n",              // a face short
        " MeshNormals {\n 2;\n 0;0;-1;, 1;0;0;;\n 2;\n 4;0,0,0,0;, 3;1,1,1;;\n }\n",    // a corner short
        " MeshNormals {\n 2;\n 0;0;-1;, 1;0;0;;\n 2;\n 4;0,0,0,0;, 4;1,1,2,1;;\n }\n",  // no normal 2
        " MeshNormals {\n 2;\n 0;0;-1;, 1;0;0;;\n 2;\n 4;0,0,0,0;, 4;1,1,1;;\n }\n",    // indices cut off
        " MeshVertexColors {\n 7;\n 0;1;0;0;1;;\n }\n",                                    // more than vertices
        " MeshVertexColors {\n 2;\n 0;1;0;0;1;, 6;0;0;1;1;;\n }\n",                       // no vertex 6
        " MeshVertexColors {\n 1;\n 0;1;0;;\n }\n",                                         // a colour cut off
    };
    for (const std::string& inside : damaged) {
        for (const std::string& file : TwinsOf(Crease(inside))) {
            const MeshRecord mesh = ReadMesh(file);
            EXPECT_EQ(mesh.vertexCount(), 6) << inside;
            EXPECT_FALSE(mesh.storedNormals) << inside;
            EXPECT_FALSE(mesh.vertexColors) << inside;
        }
    }
}

// Triangulated, each quad's corners keep their normal; the crease's two
// shared vertices are drawn twice, once with each face's normal.
TEST(AuthoredSurface, ASplitCopiesOnlyTheVerticesWhoseCornersDisagree)
{
    Model model;
    model.meshes.push_back(ReadMesh(Crease(kNormals)));
    model.TriangulateFaces();
    const MeshRecord& mesh = model.meshes[0];
    ASSERT_TRUE(mesh.storedNormals);
    EXPECT_EQ(mesh.storedNormals->cornerNormals, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
    const std::optional<SplitSurface> split = SplitByStoredNormals(mesh);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->copiedVertices, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(split->drawnCount(), 8u);
    EXPECT_EQ(split->corners, (std::vector<std::int32_t>{0, 3, 2, 0, 2, 1, 6, 7, 5, 6, 5, 4}));
    for (std::size_t k = 0; k < split->corners.size(); ++k)
        EXPECT_EQ(split->normals[static_cast<std::size_t>(split->corners[k])],
                  mesh.storedNormals->normals[static_cast<std::size_t>(mesh.storedNormals->cornerNormals[k])]);
    EXPECT_EQ(split->Source(6), 1);
    EXPECT_EQ(split->Source(4), 4);
}

// Stored normals go by the inverse transpose of each vertex's transform:
// the blend of its bones for a skinned vertex, and a mirror leaves them on
// their side, where a normal made from the winding turns over.
TEST(AuthoredSurface, StoredNormalsFollowTheSkinAndStayOnTheirSideOfAMirror)
{
    Model model;
    const Matrix4 quarterTurn{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};  // x goes to y
    const Matrix4 mirrorX{{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    model.frames = {{"Still", -1, std::nullopt}, {"Turned", -1, quarterTurn}, {"Mirror", -1, mirrorX}};
    MeshRecord mesh = ReadMesh(Crease(kNormals));
    mesh.skinWeights = {{"Still", {0, 1}, {1, 0.5f}, {}}, {"Turned", {1, 2, 3}, {0.5f, 1, 1}, {}}};
    mesh.normals = MeshRecord::VertexList(6, Vector3{1, 0, 0});
    model.meshes.push_back(mesh);
    model.meshes.push_back(mesh);
    model.meshes[1].skinWeights.clear();
    model.meshes[1].frame = 2;
    model.TriangulateFaces();

    ScenePose pose(model);
    const std::optional<SplitSurface> skinned = SplitByStoredNormals(model.meshes[0]);
    ASSERT_TRUE(skinned);
    MeshRecord::VertexList normals;
    pose.PoseStoredNormals(model, 0, *skinned, normals);
    ASSERT_EQ(normals.size(), 8u);
    auto near = [](const Vector3& a, const Vector3& b) {
        return std::fabs(a.x - b.x) < 1e-5f && std::fabs(a.y - b.y) < 1e-5f && std::fabs(a.z - b.z) < 1e-5f;
    };
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(near(normals[0], {0, 0, -1}));  // vertex 0: the still bone
    // Vertex 1, halfway between the bones, with each of its two normals: the
    // blend turns an eighth and shrinks x and y by sqrt(1/2), so the normal
    // leans toward them by as much.
    EXPECT_TRUE(near(normals[1], {0, 0, -1}));
    const float third = 1 / std::sqrt(3.0f);
    EXPECT_TRUE(near(normals[6], {third, third, -third}));
    // Vertex 2 all turned: its copy's normal a quarter turn round.
    EXPECT_TRUE(near(normals[7], {0, h, -h}));
    EXPECT_TRUE(near(normals[4], {h, 0, -h}));  // vertex 4: no bone, no frame

    const std::optional<SplitSurface> mirrored = SplitByStoredNormals(model.meshes[1]);
    ASSERT_TRUE(mirrored);
    pose.PoseStoredNormals(model, 1, *mirrored, normals);
    EXPECT_TRUE(near(normals[6], {-h, 0, -h})) << "mirrored with its face, still outward";
    MeshRecord::VertexList vertices, computed;
    pose.PoseMesh(model, 1, vertices, &computed);
    EXPECT_TRUE(near(computed[0], {1, 0, 0})) << "a winding normal turns over with the winding";
}

}  // namespace
