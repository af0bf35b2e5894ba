#include "app/viewer/MenuBarBuilder.h"

namespace {

wxString Text(const std::string& text, const std::string& accelerator = {})
{
    // No mnemonics: '&' would start one. A shortcut follows a tab.
    wxString label = wxString::FromUTF8(text);
    label.Replace("&", "&&");
    if (!accelerator.empty()) label += "\t" + wxString::FromUTF8(accelerator);
    return label;
}

std::unique_ptr<wxMenu> BuildMenu(const std::vector<MenuNode>& entries)
{
    auto menu = std::make_unique<wxMenu>();
    for (const MenuNode& entry : entries) {
        switch (entry.kind) {
        case MenuNode::Kind::Separator: menu->AppendSeparator(); break;
        case MenuNode::Kind::Submenu: menu->AppendSubMenu(BuildMenu(entry.entries).release(), Text(entry.text)); break;
        case MenuNode::Kind::Command:
            if (entry.checkable)
                menu->AppendCheckItem(entry.id, Text(entry.text, entry.accelerator))->Check(entry.marked);
            else
                menu->Append(entry.id, Text(entry.text, entry.accelerator));
            break;
        }
    }
    return menu;
}

}  // namespace

std::unique_ptr<wxMenuBar> BuildMenuBar(const std::vector<MenuNode>& menus)
{
    // The command ids go up to 40102, above the 0x7fff that wxWidgets checks
    // for the sake of Windows; GTK menus carry them unchanged. The check is
    // silenced while the items are made, and only then.
    const wxAssertHandler_t previousHandler = wxSetAssertHandler(nullptr);
    auto bar = std::make_unique<wxMenuBar>();
    for (const MenuNode& menu : menus) bar->Append(BuildMenu(menu.entries).release(), Text(menu.text));
    wxSetAssertHandler(previousHandler);
    return bar;
}
