#include "model/Pose.h"

#include <cassert>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace {

const Matrix4 kIdentity{};

// The linear part of a transform (the upper 3x3) and its translation, to be
// summed with weights.
struct Affine {
    std::array<float, 9> linear{};
    Vector3 translation{};

    void Add(const Matrix4& matrix, float weight)
    {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) linear[row * 3 + column] += weight * matrix.m[row * 4 + column];
        translation.x += weight * matrix.m[12];
        translation.y += weight * matrix.m[13];
        translation.z += weight * matrix.m[14];
    }
    static Affine Of(const Matrix4& matrix)
    {
        Affine affine;
        affine.Add(matrix, 1.0f);
        return affine;
    }

    Vector3 Point(const Vector3& p) const
    {
        const auto& l = linear;
        return {p.x * l[0] + p.y * l[3] + p.z * l[6] + translation.x, p.x * l[1] + p.y * l[4] + p.z * l[7] + translation.y,
                p.x * l[2] + p.y * l[5] + p.z * l[8] + translation.z};
    }

};

// Where a normal comes from: the winding of the faces (computed), or the file.
enum class NormalOrigin { Winding, Stored };

// A normal goes by the inverse transpose of the linear part: with row
// vectors, n * (L^-1)^T, which is n times the cofactors of L divided by its
// determinant. A normal made from the faces' winding goes by the cofactors
// alone: the cross product of two transformed edges, so that where L
// mirrors it turns over with the winding. A linear part that flattens space
// keeps the normal as it was. Worked out once per transform, then applied to
// each of its normals.
struct NormalTransform {
    float c00, c01, c02, c10, c11, c12, c20, c21, c22;
    float determinant;

    explicit NormalTransform(const Affine& affine)
    {
        const auto& l = affine.linear;
        c00 = l[4] * l[8] - l[5] * l[7], c01 = l[5] * l[6] - l[3] * l[8], c02 = l[3] * l[7] - l[4] * l[6];
        c10 = l[2] * l[7] - l[1] * l[8], c11 = l[0] * l[8] - l[2] * l[6], c12 = l[1] * l[6] - l[0] * l[7];
        c20 = l[1] * l[5] - l[2] * l[4], c21 = l[2] * l[3] - l[0] * l[5], c22 = l[0] * l[4] - l[1] * l[3];
        determinant = l[0] * c00 + l[1] * c01 + l[2] * c02;
    }

    Vector3 Apply(const Vector3& n, NormalOrigin origin) const
    {
        if (!(std::fabs(determinant) > 1e-20f)) return n;
        // Row i of (L^-1)^T is row i of the cofactors over the determinant.
        // The result is made unit length, so only the determinant's sign
        // counts: one division a normal instead of six.
        const float x = n.x * c00 + n.y * c10 + n.z * c20;
        const float y = n.x * c01 + n.y * c11 + n.z * c21;
        const float z = n.x * c02 + n.y * c12 + n.z * c22;
        // In double, so that the squares of a large transform's cofactors stay finite.
        const double squared = double{x} * x + double{y} * y + double{z} * z;
        if (!(squared > 0)) return {0, 0, 0};
        const bool turn = origin == NormalOrigin::Stored && determinant < 0;
        const auto scale = static_cast<float>((turn ? -1.0 : 1.0) / std::sqrt(squared));
        return {x * scale, y * scale, z * scale};
    }
};

// The weighted sum of the transforms of the bones that weigh `vertex`.
template <typename Skin>
Affine Blend(const Skin& skin, std::size_t vertex)
{
    Affine blended;
    for (std::uint32_t i = skin.starts[vertex]; i < skin.starts[vertex + 1]; ++i)
        blended.Add(skin.boneTransforms[skin.influences[i].skin], skin.influences[i].weight);
    return blended;
}

}  // namespace

ScenePose::ScenePose(const Model& model)
{
    std::unordered_map<std::string_view, std::int32_t> framesByName;  // the first frame of each name
    for (std::size_t f = 0; f < model.frames.size(); ++f)
        framesByName.emplace(model.frames[f].name, static_cast<std::int32_t>(f));

    skins_.resize(model.meshes.size());
    for (std::size_t m = 0; m < model.meshes.size(); ++m) {
        const MeshRecord& mesh = model.meshes[m];
        MeshSkin& skin = skins_[m];
        const std::size_t vertexCount = mesh.vertices.size();
        auto eachWeight = [&](auto&& visit) {
            for (std::uint32_t b = 0; b < skin.bones.size(); ++b) {
                const SkinWeightsRecord& weights = mesh.skinWeights[skin.bones[b]];
                for (std::size_t k = 0; k < weights.vertexIndices.size() && k < weights.weights.size(); ++k) {
                    const std::int32_t vertex = weights.vertexIndices[k];
                    if (vertex >= 0 && static_cast<std::size_t>(vertex) < vertexCount)
                        visit(static_cast<std::size_t>(vertex), b, weights.weights[k]);
                }
            }
        };
        for (std::uint32_t s = 0; s < mesh.skinWeights.size(); ++s) {
            const auto bone = framesByName.find(mesh.skinWeights[s].boneName);
            if (bone == framesByName.end()) continue;
            skin.bones.push_back(s);
            skin.boneFrames.push_back(bone->second);
        }
        if (skin.bones.empty()) continue;
        skin.boneTransforms.resize(skin.bones.size());
        // Counted first, then filled in file order: each vertex's influences
        // are summed in the order the file gives them.
        skin.starts.assign(vertexCount + 1, 0);
        eachWeight([&](std::size_t vertex, std::uint32_t, float) { ++skin.starts[vertex + 1]; });
        for (std::size_t v = 0; v < vertexCount; ++v) skin.starts[v + 1] += skin.starts[v];
        skin.influences.resize(skin.starts[vertexCount]);
        std::vector<std::uint32_t> filled(skin.starts.begin(), skin.starts.end() - 1);
        eachWeight([&](std::size_t vertex, std::uint32_t b, float weight) { skin.influences[filled[vertex]++] = {b, weight}; });
    }
    ComputeWorlds(model);
}

void ScenePose::ComputeWorlds(const Model& model, std::span<const Matrix4> locals)
{
    const bool supplied = locals.size() == model.frames.size() && !locals.empty();
    worlds_.resize(model.frames.size());
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        const FrameRecord& frame = model.frames[f];
        const Matrix4& own = supplied ? locals[f] : frame.transform ? *frame.transform : kIdentity;
        // Parents come before their children; anything else counts as a root.
        const bool hasParent = frame.parent >= 0 && static_cast<std::size_t>(frame.parent) < f;
        worlds_[f] = hasParent ? own * worlds_[static_cast<std::size_t>(frame.parent)] : own;
    }
    // Each bone's transform from its mesh into the world follows its frame's.
    for (std::size_t m = 0; m < skins_.size(); ++m) {
        MeshSkin& skin = skins_[m];
        for (std::size_t b = 0; b < skin.bones.size(); ++b)
            skin.boneTransforms[b] =
                model.meshes[m].skinWeights[skin.bones[b]].offset * worlds_[static_cast<std::size_t>(skin.boneFrames[b])];
    }
}

const Matrix4& ScenePose::WorldOf(std::int32_t frame) const
{
    return frame >= 0 && static_cast<std::size_t>(frame) < worlds_.size() ? worlds_[static_cast<std::size_t>(frame)]
                                                                           : kIdentity;
}

void ScenePose::PoseStoredNormals(const Model& model, std::size_t meshIndex, const SplitSurface& split,
                                  MeshRecord::VertexList& normals) const
{
    const MeshRecord& mesh = model.meshes[meshIndex];
    assert(split.Fits(mesh));  // made from this mesh as it is
    normals.resize(split.drawnCount());
    const MeshSkin& skin = skins_[meshIndex];
    const NormalTransform enclosing(Affine::Of(WorldOf(mesh.frame)));
    for (std::size_t d = 0; d < normals.size(); ++d) {
        const auto vertex = static_cast<std::size_t>(split.Source(d));
        const bool weighted = !skin.starts.empty() && skin.starts[vertex + 1] > skin.starts[vertex];
        normals[d] = weighted ? NormalTransform(Blend(skin, vertex)).Apply(split.normals[d], NormalOrigin::Stored)
                              : enclosing.Apply(split.normals[d], NormalOrigin::Stored);
    }
}

void ScenePose::PoseMesh(const Model& model, std::size_t meshIndex, MeshRecord::VertexList& vertices,
                         MeshRecord::VertexList* normals) const
{
    const MeshRecord& mesh = model.meshes[meshIndex];
    const MeshSkin& skin = skins_[meshIndex];
    const Affine enclosing = Affine::Of(WorldOf(mesh.frame));
    const NormalTransform enclosingNormals(enclosing);
    const std::size_t vertexCount = mesh.vertices.size();
    const bool withNormals = normals != nullptr && mesh.normals;
    vertices.resize(vertexCount);
    if (withNormals) normals->resize(mesh.normals->size());

    for (std::size_t v = 0; v < vertexCount; ++v) {
        const bool weighted = !skin.starts.empty() && skin.starts[v + 1] > skin.starts[v];
        if (!weighted) {
            vertices[v] = enclosing.Point(mesh.vertices[v]);
            if (withNormals && v < normals->size()) (*normals)[v] = enclosingNormals.Apply((*mesh.normals)[v], NormalOrigin::Winding);
            continue;
        }
        const Affine blended = Blend(skin, v);
        vertices[v] = blended.Point(mesh.vertices[v]);
        if (withNormals && v < normals->size()) (*normals)[v] = NormalTransform(blended).Apply((*mesh.normals)[v], NormalOrigin::Winding);
    }
    // Normals beyond the vertices have no transform of their own.
    if (withNormals)
        for (std::size_t v = vertexCount; v < normals->size(); ++v) (*normals)[v] = (*mesh.normals)[v];
}

std::span<const std::int32_t> ScenePose::BoneFrames(std::size_t mesh) const
{
    if (mesh >= skins_.size()) return {};
    return skins_[mesh].boneFrames;
}

void PoseSkeleton(const Model& model, const ScenePose& pose, Skeleton& skeleton)
{
    skeleton.joints.clear();
    skeleton.bones.clear();
    const std::size_t frameCount = model.frames.size();
    // The joint of each frame once it has one; -1 before.
    std::vector<std::int32_t> jointOf(frameCount, -1);
    auto joint = [&](std::size_t frame) {
        if (jointOf[frame] < 0) {
            const Matrix4& world = pose.WorldOf(static_cast<std::int32_t>(frame));
            jointOf[frame] = static_cast<std::int32_t>(skeleton.joints.size());
            skeleton.joints.push_back({world.m[12], world.m[13], world.m[14]});
        }
        return static_cast<std::uint32_t>(jointOf[frame]);
    };
    std::vector<bool> joined(frameCount, false);  // whose bone to its parent is made
    auto join = [&](std::size_t frame) {
        if (frame >= frameCount || joined[frame]) return;
        joined[frame] = true;
        const std::uint32_t own = joint(frame);
        // The same rule for a parent as the world matrices follow.
        const std::int32_t parent = model.frames[frame].parent;
        if (parent >= 0 && static_cast<std::size_t>(parent) < frame)
            skeleton.bones.push_back({own, joint(static_cast<std::size_t>(parent))});
    };
    if (model.meshes.empty()) {
        for (std::size_t f = 0; f < frameCount; ++f) join(f);
        return;
    }
    for (std::size_t m = 0; m < model.meshes.size(); ++m)
        for (const std::int32_t frame : pose.BoneFrames(m))
            if (frame >= 0) join(static_cast<std::size_t>(frame));
}
