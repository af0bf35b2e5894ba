#include "AnimationChoice.h"

#include "model/AnimationSampling.h"

#include <charconv>
#include <cstdio>
#include <set>

namespace tool_common {

std::optional<std::size_t> FindAnimationSet(const Model& model, std::string_view wanted)
{
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
    if (error == std::errc() && end == wanted.data() + wanted.size() && number >= 1 &&
        number <= model.animationSets.size())
        return number - 1;
    for (std::size_t k = 0; k < model.animationSets.size(); ++k)
        if (animation_rules::DisplayName(model.animationSets[k], k) == wanted) return k;
    return std::nullopt;
}

std::string ListAnimations(const Model& model)
{
    std::string list;
    for (std::size_t k = 0; k < model.animationSets.size(); ++k) {
        std::set<std::int32_t> frames;
        for (const AnimationRecord& animation : model.animationSets[k].animations) frames.insert(animation.frame);
        char line[400];
        std::snprintf(line, sizeof line, "%zu\t%s\t%.2f s\t%zu frames\n", k + 1,
                      animation_rules::DisplayName(model.animationSets[k], k).c_str(), TimingOf(model, k).LengthSeconds(),
                      frames.size());
        list += line;
    }
    return list;
}

}  // namespace tool_common
