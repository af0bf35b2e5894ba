#include "platform/gui/WxFileDialogs.h"

#include <wx/filedlg.h>

namespace platform {

std::string FileDialogWildcard(const FileDialogRequest& request)
{
    std::string wildcard;
    for (const FileFilter& filter : request.filters) {
        if (!wildcard.empty()) wildcard += '|';
        wildcard += filter.description + '|' + filter.pattern;
    }
    return wildcard;
}

std::optional<std::string> WxFileDialogs::Ask(const FileDialogRequest& request)
{
    // A save never asks about an existing file and adds no extension.
    long style = request.kind == FileDialogKind::Open ? wxFD_OPEN : wxFD_SAVE;
    if (request.fileMustExist) style |= wxFD_FILE_MUST_EXIST;

    wxFileDialog dialog(owner_, wxString::FromUTF8(request.title), wxEmptyString, wxEmptyString,
                        wxString::FromUTF8(FileDialogWildcard(request)), style);
    dialog.SetFilterIndex(0);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const wxString path = dialog.GetPath();
    if (path.empty()) return std::nullopt;
    return std::string(path.fn_str());
}

}  // namespace platform
