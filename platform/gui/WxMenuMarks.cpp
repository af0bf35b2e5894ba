#include "platform/gui/WxMenuMarks.h"

#include <wx/menu.h>

namespace platform {

bool WxMenuMarks::CheckItem(int id, bool checked)
{
    wxMenuItem* item = menuBar_.FindItem(id);
    if (item == nullptr || !item->IsCheckable()) return false;
    const bool was = item->IsChecked();
    // A radio item is cleared by marking another of its run, never by itself.
    if (checked || item->GetKind() != wxITEM_RADIO) item->Check(checked);
    return was;
}

bool WxMenuMarks::IsChecked(int id) const
{
    const wxMenuItem* item = menuBar_.FindItem(id);
    return item != nullptr && item->IsCheckable() && item->IsChecked();
}

void WxMenuMarks::UndoToolkitToggle(int id, bool checkedNow)
{
    wxMenuItem* item = menuBar_.FindItem(id);
    // A radio item the toolkit marked stays marked: the command marks it too.
    if (item != nullptr && item->IsCheckable() && item->GetKind() != wxITEM_RADIO) item->Check(!checkedNow);
}

}  // namespace platform
