#include "app/SeekingCommands.h"

#include "app/MenuLayout.h"
#include "app/Seeking.h"

SeekMove SeekMoveOfCommand(int id)
{
    switch (id) {
    case command::PreviousKey: return [](AnimationPlayback& p, const Model& m) { StepToKey(p, m, false); };
    case command::NextKey: return [](AnimationPlayback& p, const Model& m) { StepToKey(p, m, true); };
    case command::StepBack: return [](AnimationPlayback& p, const Model& m) { StepSeconds(p, m, false); };
    case command::StepForward: return [](AnimationPlayback& p, const Model& m) { StepSeconds(p, m, true); };
    case command::GoToEnd: return &SeekToEnd;
    default: return nullptr;
    }
}
