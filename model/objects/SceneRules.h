// What the objects that place meshes in the scene mean: "Header",
// "Frame" and its "FrameTransformMatrix", a mesh's "SkinWeights". Whatever
// cannot be read whole is left out: these objects never make a file fail.
// The readers give their values through `Numbers`: NextInteger(std::uint32_t&)
// (false unless the next value is written as an unsigned integer),
// NextFloat(float&) (any number) and remaining().
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace objects {

// "Header": the file's major and minor version and its flags. A value the
// object does not hold keeps what the model had (an earlier "Header"'s, or 0).
void KeepHeader(Model& model, std::optional<std::int32_t> major, std::optional<std::int32_t> minor,
                std::optional<std::int32_t> flags);

// Opens a "Frame" inside the innermost of `openFrames` (indices in
// model.frames): the frame is added and becomes the innermost.
void OpenFrame(Model& model, std::vector<std::int32_t>& openFrames, std::string_view name);

// The 16 numbers of a matrix, or none when fewer are left.
template <typename Numbers>
std::optional<Matrix4> ReadMatrix(Numbers& numbers)
{
    Matrix4 matrix;
    for (float& value : matrix.m)
        if (!numbers.NextFloat(value)) return std::nullopt;
    return matrix;
}

// "SkinWeights" of bone `bone`: the count, that many vertex indices, as many
// weights, then the offset matrix. None when the bone has no name or
// anything is missing or not of its kind.
template <typename Numbers>
std::optional<SkinWeightsRecord> ReadSkinWeights(Numbers& numbers, std::string_view bone)
{
    std::uint32_t count = 0;
    if (bone.empty() || !numbers.NextInteger(count) || count > numbers.remaining() / 2) return std::nullopt;
    SkinWeightsRecord skin;
    skin.boneName = std::string(bone);
    skin.vertexIndices.reserve(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        std::uint32_t index = 0;
        if (!numbers.NextInteger(index) || index > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        skin.vertexIndices.push_back(static_cast<std::int32_t>(index));
    }
    skin.weights.resize(count);
    for (float& weight : skin.weights)
        if (!numbers.NextFloat(weight)) return std::nullopt;
    const std::optional<Matrix4> offset = ReadMatrix(numbers);
    if (!offset) return std::nullopt;  // not whole: left out of the pose
    skin.offset = *offset;
    return skin;
}

}  // namespace objects
