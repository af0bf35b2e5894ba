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

// What the readers share about animations: the same numbers give the same
// keys, whatever the encoding.
namespace animation_rules {

// Adds the keys of one "AnimationKey" to `animation`, from its numbers in
// file order: the key type, the key count, then per key its time in ticks,
// its value count and the values. A list that does not hold together (an
// unknown type, a count the numbers cannot hold, a key with the wrong
// number of values, a time that is no tick count, keys out of time order)
// is left out: the result is then false and `animation` unchanged. A list of
// a type the animation already has keys of is left out as well.
bool AddKeys(AnimationRecord& animation, std::span<const float> numbers);

// "AnimTicksPerSecond": the model's rate, from the object's first number,
// when the model has none yet and it is a whole tick count above 0.
void SetTicksPerSecond(Model& model, std::span<const float> numbers);

// "AnimationOptions": open or closed, then the position quality. Missing
// numbers leave the defaults.
void SetOptions(AnimationRecord& animation, std::span<const float> numbers);

// The frame named in parentheses as the name of an "Animation", as some
// exporters write it ("Animation (Bip01) {"); empty for any other name.
std::string_view ParenthesisedFrameName(std::string_view animationName);

// The name a set goes by: its own, or "Animation N" (N from 1 in file order).
std::string DisplayName(const AnimationSetRecord& set, std::size_t index);

// After a read: each animation finds its frame by name (the first frame of
// that name); an animation that names none, names a frame the file does not
// hold, or holds no keys is left out of its set.
void ResolveFrames(Model& model);

}  // namespace animation_rules
