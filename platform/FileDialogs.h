// The modal open and save dialogs, as the commands see them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FileFilter {
    std::string description;  // what the dialog shows, e.g. "DirectX Files (*.x)"
    std::string pattern;      // e.g. "*.x"
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::vector<FileFilter> filters;  // the first one is active
    bool fileMustExist = false;
    // A save: the extension given to a name typed without one (e.g. "txt");
    // a save always asks before it replaces a file.
    std::string defaultExtension;
};

// `path` with ".extension" added when its file name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file's full path, as the user confirmed it; nothing when
    // the dialog was cancelled or failed.
    virtual std::optional<std::string> Ask(const FileDialogRequest& request) = 0;
};

}  // namespace platform
