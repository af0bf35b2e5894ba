#include "model/Animation.h"

namespace animation_rules {

std::string DisplayName(const AnimationSetRecord& set, std::size_t index)
{
    return set.name.empty() ? "Animation " + std::to_string(index + 1) : set.name;
}

}  // namespace animation_rules
