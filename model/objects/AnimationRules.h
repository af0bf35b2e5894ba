// What the readers share about animations: the same numbers give the same
// keys, whatever the encoding.
#pragma once

#include "model/Model.h"

#include <span>
#include <string_view>

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

// After a read: each animation finds its frame by name (the first frame of
// that name); an animation that names none, names a frame the file does not
// hold, or holds no keys is left out of its set.
void ResolveFrames(Model& model);

}  // namespace animation_rules
