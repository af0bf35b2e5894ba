// What the timeline under the picture shows of the chosen animation set:
// its name, the time and the length, and the slider's positions, each a
// hundredth of a second (the overlay's precision).
#pragma once

#include "app/ShellState.h"

#include <optional>
#include <string>

struct TimelineView {
    std::string name;     // the set's name as its menu item gives it
    double seconds = 0;   // into the set
    double length = 0;    // the set's length in seconds
    int positions = 0;    // the slider runs from 0 to this
    int position = 0;     // where the time puts it
};

// The timeline of the chosen set; none while no set is chosen (or the model
// does not have it), when the timeline is hidden.
std::optional<TimelineView> TimelineOf(const ShellState& state);

// "t / L s", each to a hundredth.
std::string TimelineTimeText(double seconds, double length);

// The slider's last position for a set of `length` seconds: a hundredth of a
// second each, fewer for a set too long for that (none for no length).
int TimelinePositions(double length);
// The time at slider position `position`; the last one is the set's end.
double TimelineSecondsAt(int position, double length);
