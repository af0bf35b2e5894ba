#include "model/Pose.h"

#include <cmath>

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

// A normal goes by the inverse transpose of the linear part: with row
// vectors, n * (L^-1)^T, which is n times the cofactors of L divided by its
// determinant. A linear part that flattens space keeps the normal as it was.
// Worked out once per transform, then applied to each of its normals.
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

    Vector3 Apply(const Vector3& n) const
    {
        if (!(std::fabs(determinant) > 1e-20f)) return n;
        // Row i of (L^-1)^T is row i of the cofactors over the determinant.
        Vector3 result{(n.x * c00 + n.y * c10 + n.z * c20) / determinant,
                       (n.x * c01 + n.y * c11 + n.z * c21) / determinant,
                       (n.x * c02 + n.y * c12 + n.z * c22) / determinant};
        result.Normalize();
        return result;
    }
};

}  // namespace

ScenePose::ScenePose(const Model& model) : model_(model)
{
    worlds_.reserve(model.frames.size());
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        const FrameRecord& frame = model.frames[f];
        const Matrix4& own = frame.transform ? *frame.transform : kIdentity;
        // Parents come before their children; anything else counts as a root.
        const bool hasParent = frame.parent >= 0 && static_cast<std::size_t>(frame.parent) < f;
        worlds_.push_back(hasParent ? own * worlds_[static_cast<std::size_t>(frame.parent)] : own);
        framesByName_.emplace(frame.name, static_cast<std::int32_t>(f));
    }
}

const Matrix4& ScenePose::WorldOf(std::int32_t frame) const
{
    return frame >= 0 && static_cast<std::size_t>(frame) < worlds_.size() ? worlds_[static_cast<std::size_t>(frame)]
                                                                           : kIdentity;
}

PosedMesh ScenePose::Pose(std::size_t meshIndex) const
{
    const MeshRecord& mesh = model_.meshes[meshIndex];
    const Affine enclosing = Affine::Of(WorldOf(mesh.frame));
    const std::size_t vertexCount = mesh.vertices.size();

    // Each vertex's transform: the weighted sum of its bones' transforms.
    std::vector<Affine> blended;
    std::vector<bool> weighted;
    for (const SkinWeightsRecord& skin : mesh.skinWeights) {
        const auto bone = framesByName_.find(skin.boneName);
        if (bone == framesByName_.end()) continue;
        if (blended.empty()) {
            blended.resize(vertexCount);
            weighted.assign(vertexCount, false);
        }
        const Matrix4 transform = skin.offset * worlds_[static_cast<std::size_t>(bone->second)];
        for (std::size_t k = 0; k < skin.vertexIndices.size() && k < skin.weights.size(); ++k) {
            const std::int32_t vertex = skin.vertexIndices[k];
            if (vertex < 0 || static_cast<std::size_t>(vertex) >= vertexCount) continue;
            blended[static_cast<std::size_t>(vertex)].Add(transform, skin.weights[k]);
            weighted[static_cast<std::size_t>(vertex)] = true;
        }
    }
    auto transformOf = [&](std::size_t vertex) -> const Affine& {
        return !blended.empty() && weighted[vertex] ? blended[vertex] : enclosing;
    };

    PosedMesh posed;
    posed.vertices.reserve(vertexCount);
    for (std::size_t v = 0; v < vertexCount; ++v) posed.vertices.push_back(transformOf(v).Point(mesh.vertices[v]));
    if (mesh.normals) {
        const NormalTransform enclosingNormals(enclosing);
        posed.normals.reserve(mesh.normals->size());
        for (std::size_t v = 0; v < mesh.normals->size(); ++v) {
            const Vector3& n = (*mesh.normals)[v];
            if (v >= vertexCount)
                posed.normals.push_back(n);
            else if (!blended.empty() && weighted[v])
                posed.normals.push_back(NormalTransform(blended[v]).Apply(n));
            else
                posed.normals.push_back(enclosingNormals.Apply(n));
        }
    }
    return posed;
}
