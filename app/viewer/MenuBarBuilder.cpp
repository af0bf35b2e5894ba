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
            if (entry.radio)
                menu->AppendRadioItem(entry.id, Text(entry.text, entry.accelerator))->Check(entry.marked);
            else if (entry.checkable)
                menu->AppendCheckItem(entry.id, Text(entry.text, entry.accelerator))->Check(entry.marked);
            else
                menu->Append(entry.id, Text(entry.text, entry.accelerator));
            break;
        }
    }
    return menu;
}

// The command ids go above the 0x7fff that wxWidgets checks for the sake of
// Windows; GTK menus carry them unchanged. The check is silenced while the
// items are made, and only then.
class IdCheckSilenced {
public:
    IdCheckSilenced() : previous_(wxSetAssertHandler(nullptr)) {}
    ~IdCheckSilenced() { wxSetAssertHandler(previous_); }
    IdCheckSilenced(const IdCheckSilenced&) = delete;
    IdCheckSilenced& operator=(const IdCheckSilenced&) = delete;

private:
    wxAssertHandler_t previous_;
};

}  // namespace

std::unique_ptr<wxMenuBar> BuildMenuBar(const std::vector<MenuNode>& menus)
{
    const IdCheckSilenced silenced;
    auto bar = std::make_unique<wxMenuBar>();
    for (std::size_t k = 0; k < menus.size(); ++k) {
        bar->Append(BuildMenu(menus[k].entries).release(), Text(menus[k].text));
        if (!menus[k].enabled) bar->EnableTop(k, false);
    }
    return bar;
}

void ReplaceMenu(wxMenuBar& bar, const MenuNode& menu)
{
    const int position = bar.FindMenu(Text(menu.text));
    if (position == wxNOT_FOUND) return;
    const IdCheckSilenced silenced;
    // The bar gives the old menu back; it goes at once.
    std::unique_ptr<wxMenu> old(bar.Replace(static_cast<std::size_t>(position), BuildMenu(menu.entries).release(),
                                            Text(menu.text)));
    bar.EnableTop(static_cast<std::size_t>(position), menu.enabled);
}
