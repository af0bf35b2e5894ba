#include "model/objects/SceneRules.h"

namespace objects {

void KeepHeader(Model& model, std::int32_t major, std::int32_t minor, std::int32_t flags)
{
    model.headerMajor = major;
    model.headerMinor = minor;
    model.headerFlags = flags;
}

void OpenFrame(Model& model, std::vector<std::int32_t>& openFrames, std::string_view name)
{
    FrameRecord frame;
    frame.name = LimitName(name);
    frame.parent = openFrames.empty() ? -1 : openFrames.back();
    openFrames.push_back(static_cast<std::int32_t>(model.frames.size()));
    model.frames.push_back(std::move(frame));
}

}  // namespace objects
