#include "model/objects/AnimationRules.h"

#include "model/Model.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <unordered_map>

namespace animation_rules {

namespace {

// A number that stands for a count or a time: whole, not negative, in 32 bits.
// 2^32 - 1 has no float: the largest float below 2^32 is the bound.
std::optional<std::uint32_t> Whole(float number)
{
    if (!(number >= 0.0f) || number >= 4294967296.0f || std::floor(number) != number) return std::nullopt;
    return static_cast<std::uint32_t>(number);
}

template <typename Value>
bool ReadList(std::span<const float> numbers, std::size_t count, std::vector<TimedKey<Value>>& into,
              Value (*make)(const float*))
{
    if (!into.empty()) return false;
    constexpr std::size_t valueCount = std::is_same_v<Value, Quaternion> ? 4 : std::is_same_v<Value, Vector3> ? 3 : 16;
    // Each key takes its time, its value count and its values: a count the
    // numbers cannot hold is refused before anything is reserved.
    if (count > numbers.size() / (2 + valueCount)) return false;
    std::vector<TimedKey<Value>> keys;
    keys.reserve(count);
    std::size_t at = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const auto time = Whole(numbers[at]);
        const auto values = Whole(numbers[at + 1]);
        if (!time || !values || *values != valueCount) return false;
        if (!keys.empty() && *time < keys.back().time) return false;
        for (std::size_t v = 0; v < valueCount; ++v)
            if (!std::isfinite(numbers[at + 2 + v])) return false;
        keys.push_back({*time, make(&numbers[at + 2])});
        at += 2 + valueCount;
    }
    into = std::move(keys);
    return true;
}

}  // namespace

bool AddKeys(AnimationRecord& animation, std::span<const float> numbers)
{
    if (numbers.size() < 2) return false;
    const auto type = Whole(numbers[0]);
    const auto count = Whole(numbers[1]);
    if (!type || !count) return false;
    const std::span<const float> keys = numbers.subspan(2);
    switch (static_cast<AnimationKeyType>(*type)) {
    case AnimationKeyType::Rotation:
        return ReadList<Quaternion>(keys, *count, animation.rotationKeys,
                                    [](const float* v) { return Quaternion{v[0], v[1], v[2], v[3]}; });
    case AnimationKeyType::Scale:
        return ReadList<Vector3>(keys, *count, animation.scaleKeys, [](const float* v) { return Vector3{v[0], v[1], v[2]}; });
    case AnimationKeyType::Position:
        return ReadList<Vector3>(keys, *count, animation.positionKeys,
                                 [](const float* v) { return Vector3{v[0], v[1], v[2]}; });
    case AnimationKeyType::Matrix:
        return ReadList<Matrix4>(keys, *count, animation.matrixKeys, [](const float* v) {
            Matrix4 matrix;
            std::copy(v, v + 16, matrix.m.begin());
            return matrix;
        });
    }
    return false;
}

void SetTicksPerSecond(Model& model, std::span<const float> numbers)
{
    if (model.animTicksPerSecond || numbers.empty()) return;  // the first one given wins
    const auto ticks = Whole(numbers[0]);
    if (ticks && *ticks > 0) model.animTicksPerSecond = *ticks;  // 0 gives no rate at all
}

void SetOptions(AnimationRecord& animation, std::span<const float> numbers)
{
    if (numbers.size() >= 1) animation.closed = numbers[0] != 0.0f;
    if (numbers.size() >= 2) animation.linearPositions = numbers[1] != 0.0f;
}

std::string_view ParenthesisedFrameName(std::string_view name)
{
    const std::size_t open = name.find('(');
    const std::size_t close = name.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open) return {};
    std::string_view inside = name.substr(open + 1, close - open - 1);
    while (!inside.empty() && (inside.front() == ' ' || inside.front() == '\t')) inside.remove_prefix(1);
    while (!inside.empty() && (inside.back() == ' ' || inside.back() == '\t')) inside.remove_suffix(1);
    return inside;
}

void ResolveFrames(Model& model)
{
    if (model.animationSets.empty()) return;
    std::unordered_map<std::string_view, std::int32_t> framesByName;
    for (std::size_t f = 0; f < model.frames.size(); ++f)
        framesByName.emplace(model.frames[f].name, static_cast<std::int32_t>(f));
    for (AnimationSetRecord& set : model.animationSets) {
        std::erase_if(set.animations, [&](AnimationRecord& animation) {
            const auto found = framesByName.find(animation.frameName);
            if (animation.frameName.empty() || found == framesByName.end() || !animation.HasKeys()) return true;
            animation.frame = found->second;
            return false;
        });
    }
}

}  // namespace animation_rules
