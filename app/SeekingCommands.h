// The "Animation" menu's commands that send the chosen set to a time: the
// previous or next key (Left, Right), a tenth of a second back or forward
// (Shift+Left, Shift+Right), the end (End).
#pragma once

#include "app/Playback.h"
#include "model/Model.h"

// A move in the chosen set's time (Seeking.h).
using SeekMove = void (*)(AnimationPlayback&, const Model&);

// The move of command `id`, or none for another command.
SeekMove SeekMoveOfCommand(int id);
