// The open and save dialogs of wxWidgets, owned by the main window.
#pragma once

#include "platform/FileDialogs.h"

class wxWindow;

namespace platform {

class WxFileDialogs : public FileDialogs {
public:
    explicit WxFileDialogs(wxWindow* owner) : owner_(owner) {}
    std::optional<std::string> Ask(const FileDialogRequest& request) override;

private:
    wxWindow* owner_;
};

// "description|pattern|description|pattern", the filter list of wxFileDialog.
std::string FileDialogWildcard(const FileDialogRequest& request);

}  // namespace platform
