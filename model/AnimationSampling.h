// An animation set played: how its ticks run in seconds, and the matrix of
// every frame at one of its ticks.
#pragma once

#include "model/Model.h"

#include <array>
#include <cstddef>
#include <vector>

// How the keys of one set run in time.
struct AnimationTiming {
    double ticksPerSecond = 30;
    double firstTick = 0;  // the set's earliest key
    double lastTick = 0;   // its latest key
    bool loops = true;     // a closed set loops; an open one stops on its last key

    double LengthSeconds() const { return (lastTick - firstTick) / ticksPerSecond; }
    // `seconds` after the set's start, as played: wrapped into the set's
    // length when it loops, held within it otherwise.
    double Wrap(double seconds) const;
    // The tick shown `seconds` after the set's start. The length itself
    // shows the last key, even in a loop: the end a seek sends the set to.
    double TickAt(double seconds) const
    {
        return seconds == LengthSeconds() ? lastTick : firstTick + Wrap(seconds) * ticksPerSecond;
    }
};

// The file's "AnimTicksPerSecond" when it gives one. Without it, keys that
// span at least 4800 ticks run at DirectX's 4800 ticks per second, and
// shorter ones are frame numbers, as game exporters write them, played at
// 30 per second. A set is open when any of its animations says so.
AnimationTiming TimingOf(const Model& model, std::size_t set);
// Every time set `set` has a key at (of any kind, of any of its
// animations), in seconds from the set's start as TimingOf runs it: sorted,
// each once. Empty for a set without keys or a set the model does not have.
std::vector<double> KeyTimesOf(const Model& model, std::size_t set);

// A matrix's upper 3x3 as a scale and rotation rows: each row a scale times
// a unit row (a row of length 0 becomes the axis' own). A mirror stays in the
// scale (the first one negative), so that the rows stay a rotation when the
// matrix has no shear. The parts of a frame's matrix that an animation does
// not key are taken from these.
struct MatrixParts {
    std::array<float, 3> scale{};
    std::array<Vector3, 3> rotationRows{};
};
MatrixParts DecomposeMatrix(const Matrix4& matrix);

// The rotation a key stands for, as a matrix for row vectors (p' = p * M):
// rows (1-2(y²+z²), 2(xy-wz), 2(xz+wy)), (2(xy+wz), 1-2(x²+z²), 2(yz-wx)),
// (2(xz-wy), 2(yz+wx), 1-2(x²+y²)), of the quaternion scaled to unit length
// (none: the identity).
Matrix4 RotationMatrix(const Quaternion& q);
// The rotation a fraction `t` of the shortest way from `a` to `b`.
Quaternion Slerp(Quaternion a, Quaternion b, float t);

// Every frame's local matrix at tick `tick` of set `set`, one per frame of
// the model. A frame the set animates takes its keys around the tick:
// positions and scales linearly between the two keys about it, rotations by
// spherical interpolation, matrices element by element, the first key before
// the first and the last after the last. Its matrix is scale * rotation *
// translation, each part that has no keys taken from the frame's own matrix;
// matrix keys replace the whole matrix. Every other frame keeps its own
// matrix (the identity when it has none).
void SampleLocals(const Model& model, std::size_t set, double tick, std::vector<Matrix4>& locals);
