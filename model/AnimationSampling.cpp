#include "model/AnimationSampling.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kDirectXTicksPerSecond = 4800;
constexpr double kFrameNumbersPerSecond = 30;

template <typename Value>
void Span(const std::vector<TimedKey<Value>>& keys, double& first, double& last, bool& any)
{
    if (keys.empty()) return;
    first = any ? std::min(first, static_cast<double>(keys.front().time)) : keys.front().time;
    last = any ? std::max(last, static_cast<double>(keys.back().time)) : keys.back().time;
    any = true;
}

// The two keys about `tick` and how far between them it lies; the same key
// twice before the first and after the last.
template <typename Value>
struct Around {
    const Value* before;
    const Value* after;
    float fraction;
};
template <typename Value>
Around<Value> KeysAround(const std::vector<TimedKey<Value>>& keys, double tick)
{
    const auto next = std::upper_bound(keys.begin(), keys.end(), tick,
                                       [](double t, const TimedKey<Value>& key) { return t < key.time; });
    if (next == keys.begin()) return {&keys.front().value, &keys.front().value, 0};
    if (next == keys.end()) return {&keys.back().value, &keys.back().value, 0};
    const auto previous = next - 1;
    const double span = static_cast<double>(next->time) - static_cast<double>(previous->time);
    return {&previous->value, &next->value, static_cast<float>((tick - previous->time) / span)};
}

Vector3 Lerp(const Vector3& a, const Vector3& b, float t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

Vector3 Interpolated(const std::vector<TimedKey<Vector3>>& keys, double tick)
{
    const auto around = KeysAround(keys, tick);
    return Lerp(*around.before, *around.after, around.fraction);
}

Quaternion Interpolated(const std::vector<TimedKey<Quaternion>>& keys, double tick)
{
    const auto around = KeysAround(keys, tick);
    return Slerp(*around.before, *around.after, around.fraction);
}

Matrix4 Interpolated(const std::vector<TimedKey<Matrix4>>& keys, double tick)
{
    const auto around = KeysAround(keys, tick);
    Matrix4 matrix;
    for (std::size_t k = 0; k < 16; ++k)
        matrix.m[k] = around.before->m[k] + (around.after->m[k] - around.before->m[k]) * around.fraction;
    return matrix;
}

Matrix4 LocalAt(const AnimationRecord& animation, const Matrix4& own, double tick)
{
    if (!animation.matrixKeys.empty()) return Interpolated(animation.matrixKeys, tick);
    Matrix4 local = own;
    if (!animation.rotationKeys.empty() || !animation.scaleKeys.empty()) {
        const MatrixParts parts = DecomposeMatrix(own);
        std::array<Vector3, 3> rows = parts.rotationRows;
        if (!animation.rotationKeys.empty()) {
            const Matrix4 rotation = RotationMatrix(Interpolated(animation.rotationKeys, tick));
            for (int row = 0; row < 3; ++row)
                rows[row] = {rotation.m[row * 4], rotation.m[row * 4 + 1], rotation.m[row * 4 + 2]};
        }
        std::array<float, 3> scale = parts.scale;
        if (!animation.scaleKeys.empty()) {
            const Vector3 keyed = Interpolated(animation.scaleKeys, tick);
            scale = {keyed.x, keyed.y, keyed.z};
        }
        for (int row = 0; row < 3; ++row) {
            local.m[row * 4] = scale[row] * rows[row].x;
            local.m[row * 4 + 1] = scale[row] * rows[row].y;
            local.m[row * 4 + 2] = scale[row] * rows[row].z;
        }
    }
    if (!animation.positionKeys.empty()) {
        const Vector3 position = Interpolated(animation.positionKeys, tick);
        local.m[12] = position.x;
        local.m[13] = position.y;
        local.m[14] = position.z;
    }
    return local;
}

}  // namespace

MatrixParts DecomposeMatrix(const Matrix4& matrix)
{
    MatrixParts parts;
    const auto& m = matrix.m;
    for (int row = 0; row < 3; ++row) {
        Vector3 r{m[row * 4], m[row * 4 + 1], m[row * 4 + 2]};
        parts.scale[row] = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
        r.Normalize();
        if (parts.scale[row] == 0.0f) r = {row == 0 ? 1.0f : 0.0f, row == 1 ? 1.0f : 0.0f, row == 2 ? 1.0f : 0.0f};
        parts.rotationRows[row] = r;
    }
    const Vector3& a = parts.rotationRows[0];
    const Vector3 bc = Vector3::Cross(parts.rotationRows[1], parts.rotationRows[2]);
    if (a.x * bc.x + a.y * bc.y + a.z * bc.z < 0) {
        parts.scale[0] = -parts.scale[0];
        parts.rotationRows[0] = {-a.x, -a.y, -a.z};
    }
    return parts;
}

double AnimationTiming::Wrap(double seconds) const
{
    const double length = LengthSeconds();
    if (!(seconds > 0) || !(length > 0)) return 0;
    if (!loops) return std::min(seconds, length);
    const double wrapped = std::fmod(seconds, length);
    return wrapped < length ? wrapped : 0;
}

AnimationTiming TimingOf(const Model& model, std::size_t set)
{
    AnimationTiming timing;
    bool any = false;
    for (const AnimationRecord& animation : model.animationSets[set].animations) {
        Span(animation.rotationKeys, timing.firstTick, timing.lastTick, any);
        Span(animation.scaleKeys, timing.firstTick, timing.lastTick, any);
        Span(animation.positionKeys, timing.firstTick, timing.lastTick, any);
        Span(animation.matrixKeys, timing.firstTick, timing.lastTick, any);
        if (!animation.closed) timing.loops = false;
    }
    if (model.animTicksPerSecond && *model.animTicksPerSecond > 0)
        timing.ticksPerSecond = *model.animTicksPerSecond;
    else
        timing.ticksPerSecond =
            timing.lastTick - timing.firstTick >= kDirectXTicksPerSecond ? kDirectXTicksPerSecond : kFrameNumbersPerSecond;
    return timing;
}

std::vector<double> KeyTimesOf(const Model& model, std::size_t set)
{
    if (set >= model.animationSets.size()) return {};
    std::vector<std::uint32_t> ticks;
    auto add = [&ticks](const auto& keys) {
        for (const auto& key : keys) ticks.push_back(key.time);
    };
    for (const AnimationRecord& animation : model.animationSets[set].animations) {
        add(animation.rotationKeys);
        add(animation.scaleKeys);
        add(animation.positionKeys);
        add(animation.matrixKeys);
    }
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    const AnimationTiming timing = TimingOf(model, set);
    std::vector<double> seconds;
    seconds.reserve(ticks.size());
    for (const std::uint32_t tick : ticks) seconds.push_back((tick - timing.firstTick) / timing.ticksPerSecond);
    return seconds;
}

Matrix4 RotationMatrix(const Quaternion& q)
{
    const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(length > 0) || !std::isfinite(length)) return {};
    const float w = q.w / length, x = q.x / length, y = q.y / length, z = q.z / length;
    return {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y), 0,  //
             2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x), 0,  //
             2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y), 0,  //
             0, 0, 0, 1}};
}

Quaternion Slerp(Quaternion a, Quaternion b, float t)
{
    float cosine = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
    // q and -q are the same rotation: go the shorter way round.
    if (cosine < 0) {
        b = {-b.w, -b.x, -b.y, -b.z};
        cosine = -cosine;
    }
    float wa = 1 - t, wb = t;
    // Nearly the same rotation: the straight line is as good and stays finite.
    if (cosine < 0.9995f) {
        const float angle = std::acos(cosine);
        const float sine = std::sin(angle);
        wa = std::sin((1 - t) * angle) / sine;
        wb = std::sin(t * angle) / sine;
    }
    return {wa * a.w + wb * b.w, wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
}

void SampleLocals(const Model& model, std::size_t set, double tick, std::vector<Matrix4>& locals)
{
    locals.resize(model.frames.size());
    for (std::size_t f = 0; f < model.frames.size(); ++f) locals[f] = model.frames[f].transform.value_or(Matrix4{});
    if (set >= model.animationSets.size()) return;
    for (const AnimationRecord& animation : model.animationSets[set].animations) {
        if (animation.frame < 0 || static_cast<std::size_t>(animation.frame) >= locals.size()) continue;
        Matrix4& local = locals[static_cast<std::size_t>(animation.frame)];
        local = LocalAt(animation, model.frames[static_cast<std::size_t>(animation.frame)].transform.value_or(Matrix4{}),
                        tick);
    }
}
