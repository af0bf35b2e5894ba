#include "platform/gui/WxFileDialogs.h"

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include <filesystem>

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
    // A save asks about an existing file itself, once the extension is added,
    // so that "report" asks about the "report.txt" it would replace.
    long style = request.kind == FileDialogKind::Open ? wxFD_OPEN : wxFD_SAVE;
    if (request.fileMustExist) style |= wxFD_FILE_MUST_EXIST;

    wxFileDialog dialog(owner_, wxString::FromUTF8(request.title), wxEmptyString, wxEmptyString,
                        wxString::FromUTF8(FileDialogWildcard(request)), style);
    dialog.SetFilterIndex(0);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const wxString chosen = dialog.GetPath();
    if (chosen.empty()) return std::nullopt;
    std::string path(chosen.fn_str());
    if (request.kind == FileDialogKind::Save) {
        path = WithDefaultExtension(path, request.defaultExtension);
        std::error_code error;
        if (std::filesystem::exists(path, error)) {
            const wxString name = wxString(path.c_str(), wxConvFile);
            const wxString question = wxString::FromUTF8("Le fichier ") + name +
                                      wxString::FromUTF8(" existe déjà. Voulez-vous le remplacer ?");
            wxMessageDialog ask(owner_, question, wxString::FromUTF8(request.title),
                                wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
            ask.SetYesNoLabels(wxString::FromUTF8("Remplacer"), wxString::FromUTF8("Annuler"));
            if (ask.ShowModal() != wxID_YES) return std::nullopt;
        }
    }
    return path;
}

}  // namespace platform
