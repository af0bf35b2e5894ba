#include "render/DrawPaths.h"

#include <algorithm>

static_assert([] {
    for (std::size_t k = 0; k < kDrawPaths.size(); ++k)
        if (static_cast<std::size_t>(kDrawPaths[k].path) != k) return false;
    return true;
}(), "the table is in the order of the DrawPath values");

ViewOptions& TheViewOptions()
{
    static ViewOptions options;
    return options;
}

const DrawPathEntry* DrawPathOfCommand(int command)
{
    if (command == 0) return nullptr;
    const auto entry = std::find_if(kDrawPaths.begin(), kDrawPaths.end(),
                                    [command](const DrawPathEntry& e) { return e.menuCommand == command; });
    return entry != kDrawPaths.end() ? &*entry : nullptr;
}

const DrawPathEntry* DrawPathOfWord(std::string_view word)
{
    const auto entry =
        std::find_if(kDrawPaths.begin(), kDrawPaths.end(), [word](const DrawPathEntry& e) { return e.word == word; });
    return entry != kDrawPaths.end() ? &*entry : nullptr;
}

DrawPath SelectedPath(const ViewOptions& options)
{
    for (const DrawPathEntry& entry : kDrawPaths)
        if (entry.flag != nullptr && options.*entry.flag) return entry.path;
    return DrawPath::Immediate;
}

void SelectPath(ViewOptions& options, DrawPath path)
{
    for (const DrawPathEntry& entry : kDrawPaths)
        if (entry.flag != nullptr) options.*entry.flag = entry.path == path;
}
