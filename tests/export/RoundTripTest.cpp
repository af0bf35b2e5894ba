// Exported files read back: the scene they describe is the scene the model
// describes, posed as the viewer poses it as authored, for every set at
// several times; and every export passes the checks glTF's validator makes.
#include "ExportCheck.h"
#include "TestSupport.h"

#include "gltf/GltfExport.h"
#include "model/AnimationSampling.h"
#include "model/Pose.h"
#include "model/file/ModelFile.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using export_check::Matrix;

// The DirectX matrix mirrored into glTF's axes, as column-major values.
Matrix GltfMatrixOf(const Matrix4& dx)
{
    static constexpr double sign[4] = {1, 1, -1, 1};
    Matrix m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m[i * 4 + j] = sign[i] * sign[j] * dx.m[i * 4 + j];
    return m;
}

struct Box {
    std::array<double, 3> low{}, high{};
    double size = 1;
};
Box BoxOf(const Model& model)
{
    Box box;
    bool any = false;
    for (const MeshRecord& mesh : model.meshes)
        for (const Vector3& v : mesh.vertices) {
            const std::array<double, 3> p{v.x, v.y, -v.z};
            for (std::size_t c = 0; c < 3; ++c) {
                box.low[c] = any ? std::min(box.low[c], p[c]) : p[c];
                box.high[c] = any ? std::max(box.high[c], p[c]) : p[c];
            }
            any = true;
        }
    const double dx = box.high[0] - box.low[0], dy = box.high[1] - box.low[1], dz = box.high[2] - box.low[2];
    box.size = std::max(std::sqrt(dx * dx + dy * dy + dz * dz), 1e-3);
    return box;
}

// How far apart two matrices put the corners of the model's box.
double Apart(const Matrix& a, const Matrix& b, const Box& box)
{
    double most = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const std::array<double, 3> p{corner & 1 ? box.high[0] : box.low[0], corner & 2 ? box.high[1] : box.low[1],
                                      corner & 4 ? box.high[2] : box.low[2]};
        const auto pa = export_check::Transform(a, p), pb = export_check::Transform(b, p);
        most = std::max(most, std::hypot(pa[0] - pb[0], pa[1] - pb[1], pa[2] - pb[2]));
    }
    return most;
}

// Key times of a set in seconds: the first, one in the middle and the last;
// with no matrix keys, also halfway between two keys (interpolated alike).
std::vector<double> TimesOf(const Model& model, std::size_t set)
{
    const AnimationTiming timing = TimingOf(model, set);
    std::set<double> ticks;
    bool matrices = false;
    for (const AnimationRecord& a : model.animationSets[set].animations) {
        for (const auto& k : a.rotationKeys) ticks.insert(k.time);
        for (const auto& k : a.scaleKeys) ticks.insert(k.time);
        for (const auto& k : a.positionKeys) ticks.insert(k.time);
        for (const auto& k : a.matrixKeys) ticks.insert(k.time);
        matrices = matrices || !a.matrixKeys.empty();
    }
    std::vector<double> all(ticks.begin(), ticks.end());
    std::vector<double> chosen;
    if (all.empty()) return chosen;
    chosen = {all.front(), all[all.size() / 2], all.back()};
    if (!matrices && all.size() > 1) chosen.push_back((all[all.size() / 2 - 1] + all[all.size() / 2]) / 2);
    for (double& tick : chosen) tick = (tick - timing.firstTick) / timing.ticksPerSecond;
    return chosen;
}

struct Exported {
    Model model;
    tinygltf::Model gltf;
};

Exported ExportAndRead(const std::string& path, gltf_export::ExportOptions options = {})
{
    std::optional<Model> model = testing_support::ShowingRefusal(ReadModelFile(path));
    EXPECT_TRUE(model) << path;
    if (!model) return {};
    gltf_export::PrepareModel(*model);
    std::string error;
    std::optional<tinygltf::Model> gltf = export_check::ReadGlb(gltf_export::ExportGlb(*model, options), error);
    EXPECT_TRUE(gltf) << path << ": " << error;
    if (!gltf) return {};
    EXPECT_EQ(export_check::Faults(*gltf), "") << path;
    return {std::move(*model), std::move(*gltf)};
}

class CorpusRoundTrip : public testing::TestWithParam<std::string> {};

// The node tree, names and counts, then every set's pose at its times, then
// every skinned vertex where the skin puts it, against the model's own pose.
TEST_P(CorpusRoundTrip, SaysWhatTheModelSays)
{
    const std::string path = GetParam();
    const Exported exported = ExportAndRead(path);
    const Model& model = exported.model;
    const tinygltf::Model& gltf = exported.gltf;
    ASSERT_GE(gltf.nodes.size(), model.frames.size() + 1);

    // Frames are nodes 1.. in order, under their parent's node.
    std::vector<int> parentOf(gltf.nodes.size(), -1);
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n)
        for (const int child : gltf.nodes[n].children) parentOf[static_cast<std::size_t>(child)] = static_cast<int>(n);
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        EXPECT_EQ(gltf.nodes[f + 1].name, model.frames[f].name);
        EXPECT_EQ(parentOf[f + 1], model.frames[f].parent + 1);
    }
    std::size_t triangles = 0, exportedTriangles = 0;
    for (const MeshRecord& mesh : model.meshes)
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) triangles += static_cast<std::size_t>(std::max(mesh.faces[f].cornerCount - 2, 0));
    for (const tinygltf::Mesh& mesh : gltf.meshes)
        for (const tinygltf::Primitive& p : mesh.primitives)
            exportedTriangles += gltf.accessors[static_cast<std::size_t>(p.indices)].count / 3;
    EXPECT_EQ(exportedTriangles, triangles);
    ASSERT_EQ(gltf.animations.size(), model.animationSets.size());

    const Box box = BoxOf(model);
    const double tolerance = 1e-4 * box.size;
    ScenePose pose(model);
    std::vector<Matrix4> locals;
    const auto compare = [&](int animation, double seconds) {
        const std::vector<Matrix> worlds = export_check::WorldMatrices(gltf, animation, seconds);
        if (animation >= 0) {
            const AnimationTiming timing = TimingOf(model, static_cast<std::size_t>(animation));
            SampleLocals(model, static_cast<std::size_t>(animation), timing.firstTick + seconds * timing.ticksPerSecond,
                         locals);
            pose.ComputeWorlds(model, locals);
        } else {
            pose.ComputeWorlds(model);
        }
        for (std::size_t f = 0; f < model.frames.size(); ++f)
            EXPECT_LE(Apart(worlds[f + 1], GltfMatrixOf(pose.WorldOf(static_cast<std::int32_t>(f))), box), tolerance)
                << GetParam() << " frame " << model.frames[f].name << " set " << animation << " at " << seconds;
        // Skinned vertices: glTF's blend of joints against the model's pose.
        for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
            const tinygltf::Node& node = gltf.nodes[n];
            if (node.skin < 0) continue;
            const tinygltf::Skin& skin = gltf.skins[static_cast<std::size_t>(node.skin)];
            const std::vector<float> binds = export_check::Floats(gltf, skin.inverseBindMatrices);
            const tinygltf::Mesh& gltfMesh = gltf.meshes[static_cast<std::size_t>(node.mesh)];
            const auto meshIndex = std::find_if(model.meshes.begin(), model.meshes.end(),
                                                [&](const MeshRecord& m) { return m.name == gltfMesh.name && !m.skinWeights.empty(); });
            if (meshIndex == model.meshes.end() || meshIndex->storedNormals) continue;
            MeshRecord::VertexList posed;
            pose.PoseMesh(model, static_cast<std::size_t>(meshIndex - model.meshes.begin()), posed, nullptr);
            const tinygltf::Primitive& primitive = gltfMesh.primitives.front();
            const std::vector<float> positions = export_check::Floats(gltf, primitive.attributes.at("POSITION"));
            std::vector<double> total(posed.size(), 0);
            std::vector<std::array<double, 3>> blended(posed.size(), {0, 0, 0});
            for (int set = 0; primitive.attributes.count("JOINTS_" + std::to_string(set)); ++set) {
                const auto joints = export_check::Integers(gltf, primitive.attributes.at("JOINTS_" + std::to_string(set)));
                const auto weights = export_check::Floats(gltf, primitive.attributes.at("WEIGHTS_" + std::to_string(set)));
                for (std::size_t v = 0; v < posed.size(); ++v)
                    for (std::size_t k = 0; k < 4; ++k) {
                        const float w = weights[v * 4 + k];
                        if (w == 0) continue;
                        const std::size_t joint = joints[v * 4 + k];
                        Matrix bind;
                        std::copy_n(binds.begin() + static_cast<std::ptrdiff_t>(joint * 16), 16, bind.begin());
                        const Matrix m = export_check::Multiply(worlds[static_cast<std::size_t>(skin.joints[joint])], bind);
                        const auto p = export_check::Transform(m, {positions[v * 3], positions[v * 3 + 1], positions[v * 3 + 2]});
                        for (std::size_t c = 0; c < 3; ++c) blended[v][c] += w * p[c];
                    }
            }
            // The model's weights as the file gives them: compare where they sum to one.
            std::vector<double> fileSums(posed.size(), 0);
            for (const SkinWeightsRecord& s : meshIndex->skinWeights)
                for (std::size_t i = 0; i < s.vertexIndices.size() && i < s.weights.size(); ++i)
                    if (s.vertexIndices[i] >= 0 && static_cast<std::size_t>(s.vertexIndices[i]) < posed.size())
                        fileSums[static_cast<std::size_t>(s.vertexIndices[i])] += s.weights[i];
            for (std::size_t v = 0; v < posed.size(); ++v) {
                if (std::abs(fileSums[v] - 1) > 1e-4 && fileSums[v] != 0) continue;
                const double distance = std::hypot(blended[v][0] - posed[v].x, blended[v][1] - posed[v].y, blended[v][2] + posed[v].z);
                ASSERT_LE(distance, tolerance * 10) << GetParam() << " vertex " << v << " set " << animation << " at " << seconds;
            }
        }
    };
    compare(-1, 0);
    for (std::size_t set = 0; set < model.animationSets.size(); ++set) {
        EXPECT_EQ(gltf.animations[set].name, animation_rules::DisplayName(model.animationSets[set], set));
        for (const double seconds : TimesOf(model, set)) compare(static_cast<int>(set), seconds);
    }
}

std::string Corpus(const char* file) { return std::string(PELMORA_CORPUS_DIR) + "/" + file; }

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip,
                         testing::Values(Corpus("assimp/BCN_Epileptic.X"), Corpus("assimp/anim_test.x"),
                                         Corpus("assimp/Testwuson.X"), Corpus("assimp/test.x"),
                                         Corpus("assimp/kwxport_test_cubewithvcolors.x"),
                                         Corpus("assimp/fromtruespace_bin32.x"), Corpus("assimp/test_cube_compressed.x"),
                                         Corpus("minetest_game/character.x"), Corpus("irrlicht/earth.x"),
                                         Corpus("atball/Tor.x"), std::string(PELMORA_FEATURES_MODEL)));

}  // namespace
