// The "Animation" menu: playback, the model's sets, the speeds. It is made
// anew for each model opened.
#pragma once

#include "app/MenuLayout.h"
#include "model/Model.h"

#include <array>
#include <cstdint>
#include <optional>

// Sets beyond these many have no item of their own (the tools reach every set).
constexpr std::size_t kAnimationSetItems = 99;

// The speeds offered, in menu order.
constexpr std::array<double, 5> kPlaybackSpeeds{0.25, 0.5, 1, 2, 4};

// "Lecture / Pause" (key Space), "Revenir au début" (key Home), the key and
// tenth-of-a-second steps and "Aller à la fin" (Left, Right, Shift+Left,
// Shift+Right, End: SeekingCommands.h), one radio
// item per set of `model` by its name, the speeds (radio, `speed` marked).
// Greyed without a model or when the model has no set.
MenuNode AnimationMenu(const Model* model, double speed);

// The set or the speed a command of that menu chooses.
std::optional<std::int32_t> SetOfCommand(int id);
std::optional<double> SpeedOfCommand(int id);
int CommandOfSet(std::int32_t set);
int CommandOfSpeed(double speed);
