#include "model/objects/SceneRules.h"

namespace objects {

void KeepHeader(Model& model, std::optional<std::int32_t> major, std::optional<std::int32_t> minor,
                std::optional<std::int32_t> flags)
{
    model.headerMajor = major.value_or(model.headerMajor);
    model.headerMinor = minor.value_or(model.headerMinor);
    model.headerFlags = flags.value_or(model.headerFlags);
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
