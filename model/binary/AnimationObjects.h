// The animation objects of a binary file, read by the rules the text reader
// shares (animation_rules): what does not hold together is left out, and
// never makes the file fail to load.
#pragma once

#include "model/Model.h"
#include "model/binary/Document.h"

namespace xfile {

// "AnimTicksPerSecond": sets the model's rate when it has none yet and the
// object gives a whole tick count above 0.
void ReadTicksPerSecond(const Document& document, const DataObject& object, Model& model);

// An "Animation" of a set: its frame (the first named reference inside it,
// else a name in parentheses as its own), its "AnimationKey" and
// "AnimationOptions" objects.
AnimationRecord ReadAnimation(const Document& document, const DataObject& object);

}  // namespace xfile
