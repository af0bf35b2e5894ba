#include "SkinnedCharacter.h"

#include <cmath>
#include <numbers>

namespace anim_bench {

namespace {

constexpr int kRingVertices = 100;
constexpr int kKeys = 60;        // keys of each kind per bone
constexpr int kInfluences = 4;   // bones weighing each vertex
constexpr float kBoneLength = 1;

Matrix4 Translation(float x, float y, float z) { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}}; }

}  // namespace

void FillSkinnedCharacter(Model& model, int vertexCount, int boneCount)
{
    model = Model{};
    // The bones stand one on the other along y; the first is the root.
    for (int b = 0; b < boneCount; ++b)
        model.frames.push_back({"Bone" + std::to_string(b), b - 1, Translation(0, b == 0 ? 0 : kBoneLength, 0)});

    MeshRecord& mesh = model.meshes.emplace_back();
    mesh.name = "Body";
    const int rings = vertexCount / kRingVertices;
    const float height = kBoneLength * static_cast<float>(boneCount);
    for (int r = 0; r < rings; ++r)
        for (int k = 0; k < kRingVertices; ++k) {
            const float angle = 2 * std::numbers::pi_v<float> * static_cast<float>(k) / kRingVertices;
            mesh.vertices.push_back({0.3f * std::cos(angle), height * static_cast<float>(r) / static_cast<float>(rings),
                                     0.3f * std::sin(angle)});
        }
    for (int r = 0; r + 1 < rings; ++r)
        for (int k = 0; k < kRingVertices; ++k) {
            const int a = r * kRingVertices + k, b = r * kRingVertices + (k + 1) % kRingVertices;
            const std::int32_t quad[] = {a, b, b + kRingVertices, a + kRingVertices};
            mesh.faces.Append(quad);
        }
    mesh.materials.push_back({"Skin", {}, {}, {}});
    mesh.faceMaterials = MeshRecord::FaceMaterialList(static_cast<std::size_t>(mesh.faceCount()), 0);

    // Each vertex on the bone at its height and the three above it, the
    // nearest weighing most; each bone's offset brings the mesh into its space.
    mesh.skinWeights.resize(static_cast<std::size_t>(boneCount));
    for (int b = 0; b < boneCount; ++b) {
        SkinWeightsRecord& skin = mesh.skinWeights[static_cast<std::size_t>(b)];
        skin.boneName = model.frames[static_cast<std::size_t>(b)].name;
        skin.offset = Translation(0, -kBoneLength * static_cast<float>(b), 0);
    }
    const float weights[kInfluences] = {0.4f, 0.3f, 0.2f, 0.1f};
    for (int v = 0; v < mesh.vertexCount(); ++v) {
        const int base = std::min(static_cast<int>(mesh.vertices[static_cast<std::size_t>(v)].y / kBoneLength),
                                  boneCount - kInfluences);
        for (int i = 0; i < kInfluences; ++i) {
            SkinWeightsRecord& skin = mesh.skinWeights[static_cast<std::size_t>(std::max(base, 0) + i)];
            skin.vertexIndices.push_back(v);
            skin.weights.push_back(weights[i]);
        }
    }

    // One set of kKeys frames: every bone sways about z and x, the root moves.
    AnimationSetRecord& set = model.animationSets.emplace_back();
    set.name = "Sway";
    for (int b = 0; b < boneCount; ++b) {
        AnimationRecord animation;
        animation.frameName = model.frames[static_cast<std::size_t>(b)].name;
        animation.frame = b;
        for (int key = 0; key < kKeys; ++key) {
            const float phase = 2 * std::numbers::pi_v<float> * static_cast<float>(key) / kKeys;
            const float angle = 0.15f * std::sin(phase + 0.2f * static_cast<float>(b));
            const auto time = static_cast<std::uint32_t>(key);
            animation.rotationKeys.push_back({time, {std::cos(angle / 2), 0.3f * std::sin(angle / 2), 0, std::sin(angle / 2)}});
            if (b == 0) animation.positionKeys.push_back({time, {0.2f * std::sin(phase), 0, 0}});
        }
        set.animations.push_back(std::move(animation));
    }
}

}  // namespace anim_bench
