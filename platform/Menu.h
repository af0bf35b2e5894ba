// The check marks of the main window's menu, as the commands see them.
// The viewer backs it with the toolkit's menu bar; tests use a plain map.
#pragma once

namespace platform {

class Menu {
public:
    virtual ~Menu() = default;
    // Sets or clears the mark of the item with that command id and returns
    // whether it was marked before. An unknown id does nothing and returns false.
    virtual bool CheckItem(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
};

}  // namespace platform
