#include "app/ViewAidsMenu.h"

#include "app/MenuLayout.h"

namespace {

constexpr Background kBackgrounds[] = {Background::Grey, Background::Black, Background::White, Background::Gradient};
constexpr int kBackgroundCommands[] = {command::BackgroundGrey, command::BackgroundBlack, command::BackgroundWhite,
                                       command::BackgroundGradient};

}  // namespace

std::optional<Background> BackgroundOfCommand(int id)
{
    for (std::size_t k = 0; k < std::size(kBackgroundCommands); ++k)
        if (kBackgroundCommands[k] == id) return kBackgrounds[k];
    return std::nullopt;
}

std::vector<std::pair<int, bool>> ViewAidMarks(const ViewOptions& options)
{
    std::vector<std::pair<int, bool>> marks{
        {command::Skeleton, options.skeleton},
        {command::Grid, options.grid},
        {command::Axes, options.axes},
    };
    for (std::size_t k = 0; k < std::size(kBackgroundCommands); ++k)
        marks.emplace_back(kBackgroundCommands[k], options.background == kBackgrounds[k]);
    return marks;
}
