#include "app/viewer/MainFrame.h"

#include "app/MenuLayout.h"

#include "app/Frame.h"
#include "app/viewer/MenuBarBuilder.h"
#include "app/viewer/PelmoraIcon.xpm"
#include "platform/Ticks.h"
#include "platform/gui/SwapInterval.h"
#include "render/Scene.h"

#include <wx/dnd.h>
#include <wx/icon.h>
#include <wx/sizer.h>
#include <wx/utils.h>

namespace {

// Hands the files dropped on the canvas to the shell, after the drop has
// returned (a load may show message boxes, which a drag must not wait on).
class ModelDropTarget : public wxFileDropTarget {
public:
    ModelDropTarget(wxEvtHandler& owner, Shell& shell) : owner_(owner), shell_(shell) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override
    {
        std::vector<std::string> paths;
        for (const wxString& name : names) paths.push_back(name.utf8_string());
        owner_.CallAfter([shell = &shell_, paths] { shell->OnDropFiles(paths); });
        return true;
    }

private:
    wxEvtHandler& owner_;
    Shell& shell_;
};

// The name a menu shortcut gives a key.
std::string KeyName(int keyCode)
{
    switch (keyCode) {
    case WXK_SPACE: return "Space";
    case WXK_HOME: return "Home";
    default: break;
    }
    if (keyCode >= 'A' && keyCode <= 'Z') return std::string(1, static_cast<char>(keyCode));
    if (keyCode >= WXK_F1 && keyCode <= WXK_F12) {
        std::string name(1, 'F');
        name += std::to_string(keyCode - WXK_F1 + 1);
        return name;
    }
    return {};
}

}  // namespace

MainFrame::MainFrame(ShellState& state, ViewOptions& options, const wxGLAttributes& attributes)
    : wxFrame(nullptr, wxID_ANY, "Pelmora", wxDefaultPosition,
              wxSize(static_cast<int>(state.windowWidth), static_cast<int>(state.windowHeight))),
      state_(state),
      options_(options),
      dialogs_(this),
      ticks_(platform::TickCount)
{
    SetIcon(wxIcon(pelmora_icon_xpm));

    std::unique_ptr<wxMenuBar> menuBar = BuildMenuBar(MainMenuLayout());
    marks_ = std::make_unique<platform::WxMenuMarks>(*menuBar);
    SetMenuBar(menuBar.release());  // the frame owns its menu bar

    shell_ = std::make_unique<Shell>(state_, options_, *marks_, dialogs_, [this] { Close(); });
    shell_->SetAnimationMenuReplacer([this](const MenuNode& menu) { ReplaceMenu(*GetMenuBar(), menu); });
    view_ = new GlView(this, attributes, state_, *shell_);  // owned by this frame, as every child window
    view_->SetDropTarget(new ModelDropTarget(*this, *shell_));  // owned by the canvas
    shell_->SetLoadIndicator([](bool loading) {
        if (loading)
            wxBeginBusyCursor();
        else
            wxEndBusyCursor();
    });
    auto sizer = std::make_unique<wxBoxSizer>(wxVERTICAL);
    sizer->Add(view_, 1, wxEXPAND);
    SetSizer(sizer.release());

    Bind(wxEVT_MENU, &MainFrame::OnMenu, this);
    Bind(wxEVT_CHAR_HOOK, &MainFrame::OnKey, this);
    Bind(wxEVT_IDLE, &MainFrame::OnIdle, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
}

void MainFrame::Start(const ViewerCommandLine& commandLine)
{
    if (!view_->CreateContext()) {
        Close();
        return;
    }
    platform::DisableSwapWait();
    const wxSize size = view_->GetClientSize();
    RecordClientSize(state_, size.x, size.y);
    InitGL(state_.windowWidth, state_.windowHeight);
    font_.emplace();

    CallAfter([this, commandLine] {
        if (commandLine.asAuthored) shell_->SetAsAuthored(true);
        shell_->LoadAtStart(commandLine.modelPath);
        if (commandLine.fit) shell_->OnCommand(command::FitView);
        StartFrameClock(state_, ticks_);
        started_ = true;
        wxWakeUpIdle();
    });
}

void MainFrame::DrawFrame()
{
    RenderFrame(state_, options_, *font_, ticks_, [this] { view_->SwapBuffers(); });
}

void MainFrame::OnMenu(wxCommandEvent& event)
{
    marks_->UndoToolkitToggle(event.GetId(), event.IsChecked());
    shell_->OnCommand(event.GetId());
}

void MainFrame::OnKey(wxKeyEvent& event)
{
    // The shortcuts shown in the menus, for keys the toolkit's menus leave
    // to the window (those without a modifier).
    const int id = event.HasAnyModifiers() ? 0 : CommandOfAccelerator(MainMenuLayout(), KeyName(event.GetKeyCode()));
    if (id == 0 || !GetMenuBar()->IsEnabled(id)) {
        event.Skip();
        return;
    }
    shell_->OnCommand(id);
}

void MainFrame::OnIdle(wxIdleEvent& event)
{
    // Nothing is drawn inside the event loops of message boxes and dialogs.
    if (!started_ || !shell_->CanDrawFrame() || !view_->HasContext()) return;
    DrawFrame();
    shell_->FollowPlayback();
    event.RequestMore();
}

void MainFrame::OnClose(wxCloseEvent& event)
{
    if (!shell_->AllowClose() && event.CanVeto()) {
        event.Veto();
        return;
    }
    // The model's OpenGL objects go while their context is still current.
    view_->MakeCurrent();
    shell_->Close();
    view_->ReleaseContext();
    Destroy();
}
