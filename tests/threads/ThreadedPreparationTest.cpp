// The preparation on several threads builds, bit for bit, what it builds on
// one: the triangles, the normals, the triangle lists and interleaved vertices.
#include "platform/ParallelFor.h"
#include "render/RenderModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A mesh of many faces of every kind the steps meet: triangles, quads and
// pentagons, faces of fewer than three corners, faces with corners out of
// range, corners shared far apart in the vertex order, faces on no valid
// material; fewer texture coordinates than vertices; with `authored`, stored
// normals that differ between the corners of a vertex, and vertex colours.
MeshRecord LargeMesh(std::int32_t faces, std::int32_t materials, bool authored = false)
{
    MeshRecord mesh;
    mesh.name = "large";
    const std::int32_t vertexCount = faces + 8;
    for (std::int32_t v = 0; v < vertexCount; ++v)
        mesh.vertices.push_back({static_cast<float>(v % 101) * 0.37f, static_cast<float>((v * 7) % 13) - 6.5f,
                                 static_cast<float>(v) * 1e-4f});
    MeshRecord::FaceMaterialList faceMaterials;
    for (std::int32_t f = 0; f < faces; ++f) {
        const std::int32_t far = (f * 7919) % vertexCount;  // a corner anywhere in the vertex order
        std::vector<std::int32_t> corners;
        switch (f % 11) {
        case 0: corners = {f, f + 1}; break;
        case 1: corners = {f, f + 1, vertexCount + 3}; break;
        case 2: corners = {f, far, f + 2, f + 3, f + 4}; break;
        case 3: corners = {f, f, f + 1}; break;
        default: corners = f % 2 ? std::vector{f, f + 1, far} : std::vector{f, f + 1, f + 2, far}; break;
        }
        mesh.faces.Append(corners);
        faceMaterials.push_back(f % 13 == 0 ? materials + 1 : f % materials);
    }
    mesh.faceMaterials = faceMaterials;
    mesh.materials.resize(static_cast<std::size_t>(materials));
    MeshRecord::TexCoordList texCoords;
    for (std::int32_t v = 0; v < vertexCount - 5; ++v) texCoords.push_back({v * 0.001f, 1.0f - v * 0.002f});
    mesh.texCoords = texCoords;
    if (authored) {
        StoredNormals stored;
        for (std::int32_t n = 0; n < 7; ++n) stored.normals.push_back({0.1f * n, 1.0f, -0.2f * n});
        for (std::size_t c = 0; c < mesh.faces.cornerTotal(); ++c)
            stored.cornerNormals.push_back(static_cast<std::int32_t>((c * 5 + c / 3) % 7));
        mesh.storedNormals = std::move(stored);
        std::vector<VertexColor> colors;
        for (std::int32_t v = 0; v < vertexCount; ++v) colors.push_back({(v % 3) * 0.5f, (v % 5) * 0.25f, 1.0f, 1.0f});
        mesh.vertexColors = std::move(colors);
    }
    return mesh;
}

struct Prepared {
    Model model;
    RenderModel render;
};

void Prepare(unsigned threads, Prepared& out)
{
    const platform::ScopedParallelThreadCount scoped(threads);
    out.model.meshes.push_back(LargeMesh(150'000, 3, true));
    out.model.meshes.push_back(LargeMesh(100, 2));  // below every threshold
    out.model.meshes.push_back(LargeMesh(90'001, 40));
    out.model.TriangulateFaces();
    for (std::int32_t m = 0; m < out.model.meshCount(); ++m) out.model.ComputeMeshNormals(m);
    out.render.SplitSurfaces(out.model);
    out.render.PoseMeshes(out.model, PoseChoice{true});
    out.render.BuildRenderArrays(out.model);
}

template <class T, class Allocator>
bool SameBytes(const std::vector<T, Allocator>& a, const std::vector<T, Allocator>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

TEST(ThreadedPreparation, BuildsOnManyThreadsExactlyWhatItBuildsOnOne)
{
    Prepared one;
    Prepare(1, one);
    for (const unsigned threads : {2u, 3u, 8u}) {
        Prepared many;
        Prepare(threads, many);
        ASSERT_EQ(one.model.meshes.size(), many.model.meshes.size());
        for (std::size_t m = 0; m < one.model.meshes.size(); ++m) {
            const MeshRecord& a = one.model.meshes[m];
            const MeshRecord& b = many.model.meshes[m];
            EXPECT_TRUE(a.faces == b.faces);
            EXPECT_EQ(a.faceMaterials, b.faceMaterials);
            EXPECT_EQ(a.storedNormals, b.storedNormals);
            ASSERT_TRUE(a.normals && b.normals);
            EXPECT_TRUE(SameBytes(*a.normals, *b.normals)) << "mesh " << m << " on " << threads << " threads";
            const MeshRenderData& x = one.render.meshes[m];
            const MeshRenderData& y = many.render.meshes[m];
            ASSERT_TRUE(x.renderGroups && y.renderGroups);
            ASSERT_EQ(x.renderGroups->size(), y.renderGroups->size());
            for (std::size_t g = 0; g < x.renderGroups->size(); ++g) {
                EXPECT_EQ((*x.renderGroups)[g].triangleCount, (*y.renderGroups)[g].triangleCount);
                EXPECT_EQ((*x.renderGroups)[g].indices, (*y.renderGroups)[g].indices);
            }
            ASSERT_TRUE(x.interleavedVertices && y.interleavedVertices);
            EXPECT_TRUE(SameBytes(*x.interleavedVertices, *y.interleavedVertices));
            EXPECT_EQ(x.drawnColors, y.drawnColors);
        }
    }
}

// What one thread builds is what the steps have always built: each face's
// normal added to its corners in face order, the lists in face order.
TEST(ThreadedPreparation, ManyThreadsKeepTheOrderOfTheFaces)
{
    Prepared many;
    Prepare(4, many);
    const MeshRecord& mesh = many.model.meshes[0];
    auto drawable = [&](const FaceRecord& face) {
        return face.cornerCount >= 3 && std::all_of(face.corners, face.corners + face.cornerCount, [&](std::int32_t v) {
                   return v >= 0 && v < mesh.vertexCount();
               });
    };
    MeshRecord::VertexList expected(mesh.vertices.size());
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        if (!drawable(face)) continue;
        const Vector3 p0 = mesh.vertices[static_cast<std::size_t>(face.corners[0])];
        const Vector3 p1 = mesh.vertices[static_cast<std::size_t>(face.corners[1])];
        const Vector3 p2 = mesh.vertices[static_cast<std::size_t>(face.corners[2])];
        Vector3 n = Vector3::Cross({p2.x - p1.x, p2.y - p1.y, p2.z - p1.z}, {p0.x - p1.x, p0.y - p1.y, p0.z - p1.z});
        n.Normalize();
        for (std::int32_t c = 0; c < face.cornerCount; ++c) {
            Vector3& sum = expected[static_cast<std::size_t>(face.corners[c])];
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
        }
    }
    for (Vector3& n : expected) n.Normalize();
    EXPECT_TRUE(SameBytes(expected, *mesh.normals));
    // The stored normal of every fan corner is that of the polygon's corner.
    ASSERT_TRUE(mesh.storedNormals && many.render.meshes[0].split);
    const MeshRecord original = LargeMesh(150'000, 3, true);
    std::vector<std::int32_t> fanned;
    for (std::int32_t f = 0; f < original.faceCount(); ++f) {
        const std::size_t first = original.faces.FirstCorner(f);
        const std::int32_t* n = original.storedNormals->cornerNormals.data() + first;
        const std::int32_t corners = original.faces[f].cornerCount;
        if (corners < 3) fanned.insert(fanned.end(), n, n + corners);
        for (std::int32_t e = 2; e < corners; ++e) fanned.insert(fanned.end(), {n[0], n[e - 1], n[e]});
    }
    EXPECT_EQ(mesh.storedNormals->cornerNormals, fanned);

    const std::vector<RenderGroup>& groups = *many.render.meshes[0].renderGroups;
    std::vector<platform::LargeVector<std::uint32_t>> lists(groups.size());
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        const std::int32_t material = (*mesh.faceMaterials)[static_cast<std::size_t>(f)];
        if (material < 0 || material >= mesh.materialCount() || !drawable(face)) continue;
        const SplitSurface& split = *many.render.meshes[0].split;
        for (std::int32_t c = 0; c < 3; ++c)
            lists[static_cast<std::size_t>(material)].push_back(
                static_cast<std::uint32_t>(split.corners[mesh.faces.FirstCorner(f) + static_cast<std::size_t>(c)]));
    }
    for (std::size_t g = 0; g < groups.size(); ++g) EXPECT_EQ(groups[g].indices, lists[g]) << "group " << g;
}

}  // namespace
