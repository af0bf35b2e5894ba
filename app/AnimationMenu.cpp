#include "app/AnimationMenu.h"

#include <cstdio>

namespace {

std::string SpeedText(double speed)
{
    char text[16];
    std::snprintf(text, sizeof text, "×%g", speed);
    return text;
}

}  // namespace

MenuNode AnimationMenu(const Model* model, double speed)
{
    std::vector<MenuNode> entries{MenuCheckItem(command::PlayPause, "Lecture / Pause", false, "Space"),
                                  MenuItem(command::RewindAnimation, "Revenir au début", "Home"),
                                  MenuItem(command::PreviousKey, "Clé précédente", "Left"),
                                  MenuItem(command::NextKey, "Clé suivante", "Right"),
                                  MenuItem(command::StepBack, "Reculer d'un dixième de seconde", "Shift+Left"),
                                  MenuItem(command::StepForward, "Avancer d'un dixième de seconde", "Shift+Right"),
                                  MenuItem(command::GoToEnd, "Aller à la fin", "End"),
                                  MenuSeparator()};
    if (model != nullptr)
        for (std::size_t k = 0; k < model->animationSets.size() && k < kAnimationSetItems; ++k)
            entries.push_back(MenuRadioItem(CommandOfSet(static_cast<std::int32_t>(k)),
                                            animation_rules::DisplayName(model->animationSets[k], k), k == 0));
    entries.push_back(MenuSeparator());
    for (const double offered : kPlaybackSpeeds)
        entries.push_back(MenuRadioItem(CommandOfSpeed(offered), SpeedText(offered), offered == speed));
    MenuNode menu = MenuSubmenu("Animation", std::move(entries));
    menu.enabled = model != nullptr && !model->animationSets.empty();
    return menu;
}

std::optional<std::int32_t> SetOfCommand(int id)
{
    if (id < command::FirstAnimationSet || id >= command::FirstAnimationSet + static_cast<int>(kAnimationSetItems))
        return std::nullopt;
    return id - command::FirstAnimationSet;
}

std::optional<double> SpeedOfCommand(int id)
{
    const int k = id - command::FirstSpeed;
    if (k < 0 || k >= static_cast<int>(kPlaybackSpeeds.size())) return std::nullopt;
    return kPlaybackSpeeds[static_cast<std::size_t>(k)];
}

int CommandOfSet(std::int32_t set) { return command::FirstAnimationSet + set; }

int CommandOfSpeed(double speed)
{
    for (std::size_t k = 0; k < kPlaybackSpeeds.size(); ++k)
        if (kPlaybackSpeeds[k] == speed) return command::FirstSpeed + static_cast<int>(k);
    return 0;
}
