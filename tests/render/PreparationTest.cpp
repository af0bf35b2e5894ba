#include "MeshBuilder.h"
#include "model/FanTriangleCount.h"
#include "render/LoadedModel.h"
#include "render/RenderModel.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using render_testing::FacesOf;
using render_testing::MakeMesh;
using Faces = std::vector<std::vector<std::int32_t>>;

MeshRecord::VertexList Points(int count)
{
    MeshRecord::VertexList points;
    for (int i = 0; i < count; ++i) points.push_back({float(i), float(i * i % 7), float(i % 3)});
    return points;
}

void ExpectVector(const Vector3& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x, x, 1e-6f);
    EXPECT_NEAR(actual.y, y, 1e-6f);
    EXPECT_NEAR(actual.z, z, 1e-6f);
}

TEST(Triangulation, SplitsPolygonsIntoFansKeepingTheirMaterials)
{
    Model model;
    model.meshes.push_back(MakeMesh(Points(9), {{0, 1, 2, 3}, {4, 5, 6}, {0, 4, 5, 6, 7}}, {1, 0, 2}, {{}, {}, {}}));
    model.meshes.push_back(MakeMesh(Points(4), {{0, 1, 2}, {0, 2, 3}}, {1, 0}, {{}, {}}));
    model.TriangulateFaces();

    EXPECT_EQ(FacesOf(model.meshes[0]), (Faces{{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {0, 4, 5}, {0, 5, 6}, {0, 6, 7}}));
    EXPECT_EQ(*model.meshes[0].faceMaterials, (MeshRecord::FaceMaterialList{1, 1, 0, 2, 2, 2}));
    // Triangles only: kept exactly as read.
    EXPECT_EQ(FacesOf(model.meshes[1]), (Faces{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(*model.meshes[1].faceMaterials, (MeshRecord::FaceMaterialList{1, 0}));
}

TEST(Triangulation, KeepsShortFacesAsOneFaceAndAMaterialListThatDoesNotCoverTheFaces)
{
    Model model;
    model.meshes.push_back(MakeMesh(Points(4), {{0, 1}, {0, 1, 2, 3}, {3}, {}}, {0}, {{}}));
    model.TriangulateFaces();
    EXPECT_EQ(FacesOf(model.meshes[0]), (Faces{{0, 1}, {0, 1, 2}, {0, 2, 3}, {3}, {}}));
    EXPECT_EQ(*model.meshes[0].faceMaterials, (MeshRecord::FaceMaterialList{0}));
}

TEST(Triangulation, RefusesAFaceCountThatWouldNotFit)
{
    records::FanTriangleCount small;
    for (std::int32_t corners : {0, 2, 3, 4, 5}) small.Add(corners);
    EXPECT_EQ(small.Total(), 1 + 1 + 1 + 2 + 3);

    records::FanTriangleCount huge;
    huge.Add(std::numeric_limits<std::int32_t>::max());
    huge.Add(4);
    EXPECT_FALSE(huge.Total().has_value());
}

TEST(BoundingBoxes, CornersInTableOrderAndOutwardTriangles)
{
    Model model;
    model.meshes.push_back(MakeMesh({{1, -2, 3}, {-1, 5, 0}, {4, 0, -6}}, {}, {}, {}));
    model.meshes.push_back(MakeMesh({}, {}, {}, {}));
    model.meshes.push_back(MakeMesh({{2, 3, 4}}, {}, {}, {}));
    RenderModel render;
    render.ComputeBoundingBoxes(model);

    const MeshRenderData& box = render.meshes[0];
    const float expected[8][3] = {{4, 5, -6}, {-1, 5, -6}, {-1, 5, 3}, {4, 5, 3},
                                  {4, -2, -6}, {-1, -2, -6}, {-1, -2, 3}, {4, -2, 3}};
    for (int c = 0; c < 8; ++c) ExpectVector(box.boxCorners[c], expected[c][0], expected[c][1], expected[c][2]);
    const Vector3 centre{1.5f, 1.5f, -1.5f};
    for (int t = 0; t < 12; ++t) {
        const Vector3& a = box.boxCorners[box.boxTriangles[3 * t]];
        const Vector3& b = box.boxCorners[box.boxTriangles[3 * t + 1]];
        const Vector3& c = box.boxCorners[box.boxTriangles[3 * t + 2]];
        const Vector3 n = Vector3::Cross({b.x - a.x, b.y - a.y, b.z - a.z}, {c.x - a.x, c.y - a.y, c.z - a.z});
        const Vector3 out{a.x - centre.x, a.y - centre.y, a.z - centre.z};
        EXPECT_GT(n.x * out.x + n.y * out.y + n.z * out.z, 0) << "triangle " << t;
    }

    for (const Vector3& corner : render.meshes[1].boxCorners) ExpectVector(corner, 0, 0, 0);
    for (std::int32_t index : render.meshes[1].boxTriangles) EXPECT_EQ(index, 0);
    for (const Vector3& corner : render.meshes[2].boxCorners) ExpectVector(corner, 2, 3, 4);
}

TEST(Normals, FlatSquareUnusedAndDegenerateVertices)
{
    Model model;
    // Vertices 0-3: a square in z = 0 split in two; 4: unused; 5-7: collinear;
    // 8: only in a face of two corners; then a face whose corner is out of range.
    model.meshes.push_back(MakeMesh({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {9, 9, 9}, {0, 0, 1}, {1, 1, 1},
                                     {2, 2, 1}, {5, 5, 5}},
                                    {{0, 1, 2}, {0, 2, 3}, {5, 6, 7}, {8, 0}, {8, 1, 40}}, {}, {}));
    model.ComputeMeshNormals(0);
    model.ComputeMeshNormals(7);  // no such mesh: nothing happens

    const MeshRecord& mesh = model.meshes[0];
    ASSERT_EQ(mesh.normalCount(), mesh.vertexCount());
    for (int i = 0; i < 4; ++i) ExpectVector((*mesh.normals)[i], 0, 0, 1);
    for (int i = 4; i < 9; ++i) ExpectVector((*mesh.normals)[i], 0, 0, 0);
}

TEST(Normals, PolygonCornersShareTheFaceNormalAndSumsAreNormalised)
{
    Model model;
    // Two faces at a right angle share the edge 0-1; the first is three times
    // the area of the second, and still weighs the same.
    model.meshes.push_back(MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 3, 0}, {0, 3, 0}, {1, 0, -1}, {0, 0, -1}},
                                    {{0, 1, 2, 3}, {0, 5, 4, 1}}, {}, {}));
    model.ComputeMeshNormals(0);
    const auto& n = *model.meshes[0].normals;
    const float half = std::sqrt(0.5f);
    ExpectVector(n[0], 0, -half, half);
    ExpectVector(n[1], 0, -half, half);
    ExpectVector(n[3], 0, 0, 1);
    ExpectVector(n[4], 0, -1, 0);
}

TEST(RenderArrays, OneGroupPerMaterialAndInterleavedVertices)
{
    Model model;
    model.meshes.push_back(MakeMesh(Points(5), {{0, 1, 2}, {2, 3, 4}, {1, 2, 3}, {0, 4}, {4, 3, 2}, {0, 1, 9}},
                                    {1, 0, 1, 1, 7, 0}, {{}, {}, {}}, {{0.5f, 0.25f}, {1, 2}}));
    model.meshes.push_back(MakeMesh(Points(3), {{0, 1, 2}}, {0}, {}));
    model.ComputeMeshNormals(0);
    RenderModel render;
    render.BuildRenderArrays(model);

    const MeshRecord& mesh = model.meshes[0];
    const MeshRenderData& data = render.meshes[0];
    ASSERT_TRUE(data.renderGroups);
    ASSERT_EQ(data.renderGroups->size(), 3u);
    const auto& groups = *data.renderGroups;
    // Short faces, faces off the vertex list and faces on a missing material
    // belong to no group; a material no face uses has an empty group.
    EXPECT_EQ(groups[0].triangleCount, 1);
    auto listed = [](const auto& indices) { return std::vector<std::uint32_t>(indices.begin(), indices.end()); };
    EXPECT_EQ(listed(groups[0].indices), (std::vector<std::uint32_t>{2, 3, 4}));
    EXPECT_EQ(groups[1].triangleCount, 2);
    EXPECT_EQ(listed(groups[1].indices), (std::vector<std::uint32_t>{0, 1, 2, 1, 2, 3}));
    EXPECT_EQ(groups[2].triangleCount, 0);

    ASSERT_TRUE(data.interleavedVertices);
    ASSERT_EQ(data.interleavedVertices->size(), 5u);
    const InterleavedVertex& v1 = (*data.interleavedVertices)[1];
    const InterleavedVertex& v4 = (*data.interleavedVertices)[4];
    EXPECT_EQ(v1.u, 1.0f);
    EXPECT_EQ(v1.v, 2.0f);
    EXPECT_EQ(v4.u, 0.0f);  // beyond the texture coordinates
    EXPECT_EQ(v4.v, 0.0f);
    EXPECT_EQ(v4.x, mesh.vertices[4].x);
    EXPECT_EQ(v4.nz, (*mesh.normals)[4].z);

    EXPECT_FALSE(render.meshes[1].renderGroups);  // no materials, no groups
    EXPECT_EQ(render.meshes[1].interleavedVertices->size(), 3u);
    EXPECT_EQ((*render.meshes[1].interleavedVertices)[0].nx, 0.0f);  // no normals yet
}

// A file that does not load: the load shows what the read has to say, and
// only that, then gives why; a file it cannot open it does not tell (the
// shell says that the load failed).
TEST(LoadedModelLoad, ShowsTheReadersMessagesAndGivesWhy)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    LoadError failure;
    EXPECT_EQ(loaded.Load(folder.Write("bad.x", "xof 0303txt 0032\nMesh {\n"), {}, &failure), E_FAIL);
    EXPECT_EQ(recorder.messages(), (std::vector<platform::Message>{{"Erreur de chargement, les bloques {} ne sont pas "
                                                                    "valide.",
                                                                    "Erreur", platform::MessageKind::Warning}}));
    EXPECT_EQ(failure.kind, LoadErrorKind::Refused);
    EXPECT_EQ(loaded.model.meshCount(), 0);

    EXPECT_EQ(loaded.Load((folder.path() / "none.x").string(), {}, &failure), E_FAIL);
    EXPECT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(failure.kind, LoadErrorKind::NoSuchFile);
}

// A layout the line reader refuses loads, silently, only when the scene is
// asked for as its author made it.
TEST(LoadedModelLoad, ReadsAnyLayoutOnlyAsAuthored)
{
    testing_support::TempDir folder;
    const std::string path = folder.Write("stray.x", "xof 0303txt 0032\n}\nFrame Root {\n}\n");
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    EXPECT_EQ(loaded.Load(path, PoseChoice{.asAuthored = false}), E_FAIL);
    EXPECT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(loaded.Load(path, PoseChoice{.asAuthored = true}), S_OK);
    // Only the preparation speaks (this test has no OpenGL context), not the reader.
    for (std::size_t k = 1; k < recorder.messages().size(); ++k)
        EXPECT_NE(recorder.messages()[k].text, recorder.messages()[0].text);
    EXPECT_EQ(loaded.model.frames.size(), 1u);
}

}  // namespace
