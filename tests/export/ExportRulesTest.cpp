// What the export makes of a model's axes, faces and faults.
#include "ExportCheck.h"
#include "TestSupport.h"

#include "gltf/GltfExport.h"
#include "model/file/ModelFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

tinygltf::Model Read(const std::vector<std::uint8_t>& glb)
{
    std::string error;
    std::optional<tinygltf::Model> gltf = export_check::ReadGlb(glb, error);
    EXPECT_TRUE(gltf) << error;
    return gltf ? std::move(*gltf) : tinygltf::Model{};
}

// A face wound as DirectX wants it (clockwise as its viewer sees it) comes
// out counter-clockwise as glTF's viewer sees it, its normal toward that
// viewer; and "--up z" turns the file's +z to glTF's +y.
TEST(ExportRules, FacesTurnCounterClockwiseWithTheirNormalsAndZUpStandsUp)
{
    // The face at z = -1, seen from a DirectX camera at z = -10: up, right, down.
    Model model;
    MeshRecord quad;
    quad.vertices.assign({{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}});
    const std::int32_t corners[] = {0, 1, 2, 3};
    quad.faces.Append(corners);
    quad.CompleteMaterialList();
    model.meshes.push_back(std::move(quad));
    gltf_export::PrepareModel(model);
    const tinygltf::Model gltf = Read(gltf_export::ExportGlb(model, {}));
    ASSERT_EQ(gltf.meshes.size(), 1u);
    const tinygltf::Primitive& p = gltf.meshes[0].primitives[0];
    const std::vector<float> positions = export_check::Floats(gltf, p.attributes.at("POSITION"));
    const std::vector<float> normals = export_check::Floats(gltf, p.attributes.at("NORMAL"));
    const std::vector<std::uint32_t> indices = export_check::Integers(gltf, p.indices);
    ASSERT_EQ(indices.size(), 6u);
    for (std::size_t t = 0; t < indices.size(); t += 3) {
        const float* a = &positions[indices[t] * 3];
        const float* b = &positions[indices[t + 1] * 3];
        const float* c = &positions[indices[t + 2] * 3];
        // Mirrored, the face lies at glTF's z = +1, facing a viewer at +z.
        EXPECT_FLOAT_EQ(a[2], 1.0f);
        const double facing = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
        EXPECT_GT(facing, 0) << "triangle " << t / 3;
        EXPECT_FLOAT_EQ(normals[indices[t] * 3 + 2], 1.0f);
    }

    const tinygltf::Model upZ = Read(gltf_export::ExportGlb(model, gltf_export::ExportOptions{.upZ = true, .onlySet = {}}));
    const export_check::Matrix root = export_check::WorldMatrices(upZ, -1, 0)[0];
    const auto up = export_check::Transform(root, {0, 0, -1});  // the file's +z, mirrored
    EXPECT_NEAR(up[1], 1.0, 1e-6);
}

// A model glTF cannot say as it is comes out valid, each kind of fault said once.
TEST(ExportRules, FaultsComeOutValidAndAreSaidOncePerKind)
{
    Model model;  // read from memory: no file name
    FrameRecord sheared{"sheared", -1, Matrix4{{1, 0.5f, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};
    model.frames.push_back(sheared);
    model.frames.push_back({"", 0, std::nullopt});  // a frame with nothing to say
    model.frames.push_back({"\xE9t\xE9", 0, std::nullopt});  // "été" in Latin-1, as old files name things
    MeshRecord mesh;
    mesh.name = "mesh";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    mesh.vertices.assign({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {nan, 0, 0}, {5, 5, 5}});
    mesh.faces.AppendTriangle(0, 1, 2);
    mesh.faces.AppendTriangle(0, 2, 3);
    mesh.faces.AppendTriangle(0, 2, 9);  // names no vertex
    mesh.frame = 0;
    SkinWeightsRecord bone{"no such frame", {0}, {1.0f}, {}};
    SkinWeightsRecord real{"sheared", {0, 1, 2, 3}, {0.5f, -1.0f, 0.25f, 2.0f}, {}};
    mesh.skinWeights = {bone, real};
    mesh.CompleteMaterialList();
    model.meshes.push_back(std::move(mesh));
    AnimationSetRecord set;
    AnimationRecord moves;
    moves.frameName = "sheared";
    moves.frame = 0;
    moves.positionKeys = {{0, {0, 0, 0}}, {10, {1, 0, 0}}, {10, {2, 0, 0}}, {5, {3, 0, 0}}};
    moves.rotationKeys = {{0, {0, 0, 0, 0}}, {10, {nan, 0, 0, 1}}};
    set.animations.push_back(moves);
    model.animationSets.push_back(set);
    model.animationSets.push_back({"empty", {}});
    gltf_export::PrepareModel(model);

    std::vector<std::string> notices;
    const tinygltf::Model gltf = Read(gltf_export::ExportGlb(model, {}, &notices));
    EXPECT_EQ(export_check::Faults(gltf), "");
    const std::string said = testing::PrintToString(notices);
    EXPECT_EQ(gltf.nodes[3].name, "\u00E9t\u00E9");
    for (const char* kind : {"not UTF-8", "shear", "bone is not a frame", "not finite", "below zero", "naming no vertex", "same time",
                             "earlier", "no keys"})
        EXPECT_NE(said.find(kind), std::string::npos) << kind << " in " << said;
    std::set<std::string> distinct(notices.begin(), notices.end());
    EXPECT_EQ(distinct.size(), notices.size());
}

}  // namespace
