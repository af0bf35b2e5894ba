// The animations of a scene as its file stores them: "AnimationSet" objects,
// each holding one "Animation" per frame it moves, each with the key lists
// ("AnimationKey") of that frame's rotation, scale, position or whole matrix,
// and the file's "AnimTicksPerSecond". Data only; AnimationSampling.h turns
// it into frame matrices at a time.
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct Model;

// A rotation as DirectX stores it: w first.
struct Quaternion {
    float w = 1, x = 0, y = 0, z = 0;
    bool operator==(const Quaternion&) const = default;
};

// One key: a value at a time in ticks.
template <typename Value>
struct TimedKey {
    std::uint32_t time = 0;
    Value value{};
    bool operator==(const TimedKey&) const = default;
};

// The key types of an "AnimationKey", as the file numbers them.
enum class AnimationKeyType : std::uint32_t { Rotation = 0, Scale = 1, Position = 2, Matrix = 4 };

struct AnimationRecord {
    std::string frameName;    // the frame it moves, as the file names it
    std::int32_t frame = -1;  // that frame's index in Model::frames, once the read is done
    // Each list in time order; empty when the animation has no such keys.
    std::vector<TimedKey<Quaternion>> rotationKeys;
    std::vector<TimedKey<Vector3>> scaleKeys;
    std::vector<TimedKey<Vector3>> positionKeys;
    std::vector<TimedKey<Matrix4>> matrixKeys;  // each replaces the frame's whole matrix
    // "AnimationOptions": closed (1, the default) loops, open (0) stops at the end;
    // position quality 1 is linear, 0 asks for splines (played linearly).
    bool closed = true;
    bool linearPositions = true;

    bool HasKeys() const
    {
        return !rotationKeys.empty() || !scaleKeys.empty() || !positionKeys.empty() || !matrixKeys.empty();
    }
    bool operator==(const AnimationRecord&) const = default;
};

struct AnimationSetRecord {
    std::string name;  // empty when the file gives none
    std::vector<AnimationRecord> animations;
    bool operator==(const AnimationSetRecord&) const = default;
};

// How the shell and the tools name animations.
namespace animation_rules {

// The name a set goes by: its own, or "Animation N" (N from 1 in file order).
std::string DisplayName(const AnimationSetRecord& set, std::size_t index);

}  // namespace animation_rules
