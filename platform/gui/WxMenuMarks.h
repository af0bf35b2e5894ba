// The check marks of a wxWidgets menu bar.
#pragma once

#include "platform/Menu.h"

class wxMenuBar;

namespace platform {

class WxMenuMarks : public Menu {
public:
    explicit WxMenuMarks(wxMenuBar& menuBar) : menuBar_(menuBar) {}
    // Items without a check mark (and unknown ids) report false and stay as they are.
    bool CheckItem(int id, bool checked) override;
    bool IsChecked(int id) const override;

    // GTK flips a check item's mark before the command arrives; this puts the
    // mark back as it was, so that the command finds it as the user saw it.
    void UndoToolkitToggle(int id, bool checkedNow);

private:
    wxMenuBar& menuBar_;
};

}  // namespace platform
