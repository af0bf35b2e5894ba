// A generated animated character for the pose benchmark: a tube of
// `vertices` vertices around a chain of `bones` bones, each vertex on four
// consecutive bones, and one set that turns and moves every bone.
#pragma once

#include "model/Model.h"

namespace anim_bench {

void FillSkinnedCharacter(Model& model, int vertices, int bones);

}  // namespace anim_bench
