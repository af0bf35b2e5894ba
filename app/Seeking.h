// Sending the chosen animation set to a time by hand: a seek, a step to the
// next or previous key, a step of a tenth of a second, the end. Each pauses
// playback and leaves the time within the set; with no set chosen (or one
// the model does not have) nothing changes.
#pragma once

#include "app/Playback.h"
#include "model/Model.h"

// The time a short step moves by, in seconds.
inline constexpr double kSecondsStep = 0.1;

// To `seconds` into the set, held within [0, its length].
void SeekAnimation(AnimationPlayback& playback, const Model& model, double seconds);
// To the first key time after the shown time (`forward`) or the last one
// before it; where there is none, the time stays.
void StepToKey(AnimationPlayback& playback, const Model& model, bool forward);
// kSecondsStep later (`forward`) or earlier, held within the set.
void StepSeconds(AnimationPlayback& playback, const Model& model, bool forward);
// To the set's end (its last key).
void SeekToEnd(AnimationPlayback& playback, const Model& model);
