#include "app/AnimationMenu.h"

#include <cstdio>

namespace {

MenuNode Command(int id, std::string text, bool checkable, bool marked, bool radio, std::string accelerator = {})
{
    MenuNode node;
    node.id = id;
    node.text = std::move(text);
    node.checkable = checkable;
    node.marked = marked;
    node.radio = radio;
    node.accelerator = std::move(accelerator);
    return node;
}

MenuNode Separator()
{
    MenuNode node;
    node.kind = MenuNode::Kind::Separator;
    return node;
}

std::string SpeedText(double speed)
{
    char text[16];
    std::snprintf(text, sizeof text, "×%g", speed);
    return text;
}

}  // namespace

MenuNode AnimationMenu(const Model* model, double speed)
{
    MenuNode menu;
    menu.kind = MenuNode::Kind::Submenu;
    menu.text = "Animation";
    menu.enabled = model != nullptr && !model->animationSets.empty();
    menu.entries.push_back(Command(command::PlayPause, "Lecture / Pause", true, false, false, "Space"));
    menu.entries.push_back(Command(command::RewindAnimation, "Revenir au début", false, false, false, "Home"));
    menu.entries.push_back(Separator());
    if (model != nullptr)
        for (std::size_t k = 0; k < model->animationSets.size() && k < kAnimationSetItems; ++k)
            menu.entries.push_back(Command(command::FirstAnimationSet + static_cast<int>(k),
                                           animation_rules::DisplayName(model->animationSets[k], k), true, k == 0,
                                           true));
    menu.entries.push_back(Separator());
    for (const double offered : kPlaybackSpeeds)
        menu.entries.push_back(Command(CommandOfSpeed(offered), SpeedText(offered), true, offered == speed, true));
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
