#include "platform/gui/WxMessageSink.h"

#include <wx/msgdlg.h>

namespace platform {

namespace {

// wxWidgets gives a message box without a parent the application's top
// window as its owner; these boxes have none.
class UnownedMessageDialog : public wxMessageDialog {
public:
    UnownedMessageDialog(const wxString& text, const wxString& caption, long style)
        : wxMessageDialog(nullptr, text, caption, style)
    {
        m_parent = nullptr;
    }
};

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

}  // namespace

long MessageBoxStyle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return wxOK | wxICON_WARNING;
    case MessageKind::Error: return wxOK | wxICON_ERROR;
    case MessageKind::Information: return wxOK | wxICON_INFORMATION;
    case MessageKind::Plain: break;
    }
    return wxOK | wxICON_NONE;
}

void WxMessageSink::Show(std::string_view text, std::string_view caption, MessageKind kind)
{
    UnownedMessageDialog dialog(FromUtf8(text), FromUtf8(caption), MessageBoxStyle(kind));
    dialog.ShowModal();
}

}  // namespace platform
