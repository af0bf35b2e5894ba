#include "app/viewer/MainFrame.h"

#include "app/MenuLayout.h"

#include "app/Frame.h"
#include "app/viewer/MenuBarBuilder.h"
#include "app/viewer/PelmoraIcon.xpm"
#include "app/viewer/ScenePanel.h"
#include "platform/Ticks.h"
#include "platform/gui/SwapInterval.h"
#include "render/IdentityMatrices.h"
#include "render/Scene.h"

#include <GL/gl.h>

#include <algorithm>

#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/icon.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
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

// The digit of a key of the numeric pad, with Num Lock on or off (off, the
// pad's keys are named after their second use), as the top row's digit.
std::string KeypadDigit(int keyCode)
{
    if (keyCode >= WXK_NUMPAD0 && keyCode <= WXK_NUMPAD9) return std::string(1, static_cast<char>('0' + keyCode - WXK_NUMPAD0));
    switch (keyCode) {
    case WXK_NUMPAD_INSERT: return "0";
    case WXK_NUMPAD_END: return "1";
    case WXK_NUMPAD_DOWN: return "2";
    case WXK_NUMPAD_PAGEDOWN: return "3";
    case WXK_NUMPAD_LEFT: return "4";
    case WXK_NUMPAD_BEGIN: return "5";
    case WXK_NUMPAD_RIGHT: return "6";
    case WXK_NUMPAD_HOME: return "7";
    case WXK_NUMPAD_UP: return "8";
    case WXK_NUMPAD_PAGEUP: return "9";
    default: return {};
    }
}

// The name a menu shortcut gives a key.
std::string KeyName(int keyCode)
{
    switch (keyCode) {
    case WXK_SPACE: return "Space";
    case WXK_HOME: return "Home";
    case WXK_END: return "End";
    case WXK_LEFT: return "Left";
    case WXK_RIGHT: return "Right";
    default: break;
    }
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9'))
        return std::string(1, static_cast<char>(keyCode));
    if (const std::string digit = KeypadDigit(keyCode); !digit.empty()) return digit;
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
    // The panel of the scene's parts left of the canvas, when asked; both
    // are owned by the splitter, which this frame owns, as every child window.
    splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE);
    splitter_->SetMinimumPaneSize(80);  // no drag or double-click closes a side behind the menu's back
    splitter_->SetSashGravity(0.0);     // the canvas takes what the window gains
    view_ = new GlView(splitter_, attributes, state_, *shell_);
    panel_ = new ScenePanel(splitter_, *shell_, [this] { view_->MakeCurrent(); });
    panel_->Hide();
    splitter_->Initialize(view_);
    shell_->SetModelReplacedListener([this] {
        if (splitter_->IsSplit()) panel_->ShowModel(state_.currentModel.get());
    });
    view_->SetDropTarget(new ModelDropTarget(*this, *shell_));  // owned by the canvas
    shell_->SetLongStepIndicator([](bool working) {
        if (working)
            wxBeginBusyCursor();
        else
            wxEndBusyCursor();
    });
    shell_->SetCommandIndicator([this](bool running) {
        if (running)
            KeepLastFrame();
        else
            lastFrame_.clear();
    });
    view_->SetRepaint([this] {
        if (shell_->Busy()) ShowLastFrame();
    });
    auto sizer = std::make_unique<wxBoxSizer>(wxVERTICAL);
    sizer->Add(splitter_, 1, wxEXPAND);
    // Under the picture, shown while a set is chosen: the canvas gives up its height then.
    timeline_ = new TimelinePanel(this, state_, *shell_);  // owned by this frame
    sizer->Add(timeline_, 0, wxEXPAND);
    SetSizer(sizer.release());

    Bind(wxEVT_MENU, &MainFrame::OnMenu, this);
    Bind(wxEVT_CHAR_HOOK, &MainFrame::OnKey, this);
    Bind(wxEVT_IDLE, &MainFrame::OnIdle, this);
    Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
        ++openMenus_;
        event.Skip();
    });
    Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& event) {
        openMenus_ = std::max(openMenus_ - 1, 0);
        event.Skip();
    });
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
}

void MainFrame::Start(const ViewerCommandLine& commandLine, StartNotice notice)
{
    view_->WhenOnScreen([this, commandLine, notice = std::move(notice)] { BeginOnScreen(commandLine, notice); });
}

void MainFrame::BeginOnScreen(const ViewerCommandLine& commandLine, const StartNotice& notice)
{
    if (!view_->CreateContext()) {
        ShowUnsupportedDisplay();
        if (notice.noContext) notice.noContext();
        Close();
        return;
    }
    platform::DisableSwapWait();
    const wxSize size = view_->GetClientSize();
    RecordClientSize(state_, size.x, size.y);
    InitGL(state_.windowWidth, state_.windowHeight);
    font_.emplace();

    if (commandLine.asAuthored) shell_->SetAsAuthored(true);
    if (commandLine.upZ) shell_->OnCommand(command::UpAxisZ);
    if (commandLine.vertexColors) shell_->OnCommand(command::VertexColors);
    shell_->LoadAtStart(commandLine.modelPath);
    if (commandLine.fit) shell_->OnCommand(command::FitView);
    if (notice.started) notice.started();
    StartFrameClock(state_, ticks_);
    started_ = true;
    wxWakeUpIdle();
}

void MainFrame::DrawFrame()
{
    RenderFrame(state_, options_, *font_, ticks_, [this] { view_->SwapBuffers(); });
}

void MainFrame::KeepLastFrame()
{
    lastFrame_.clear();
    if (!started_ || !view_->HasContext() || !font_) return;
    const wxSize size = view_->GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    view_->MakeCurrent();
    // The frame drawn once more, so that what the screen shows is the frame
    // and not a menu that has just closed over it.
    RedrawLastFrame(state_, options_, *font_);
    lastFrameSize_ = size;
    lastFrame_.resize(static_cast<std::size_t>(size.x) * static_cast<std::size_t>(size.y) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, size.x, size.y, GL_RGBA, GL_UNSIGNED_BYTE, lastFrame_.data());
    view_->SwapBuffers();
}

void MainFrame::ShowLastFrame()
{
    if (lastFrame_.empty() || !view_->HasContext() || view_->GetClientSize() != lastFrameSize_) return;
    view_->MakeCurrent();
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    {
        const IdentityMatricesScope matrices;
        glRasterPos2f(-1.0f, -1.0f);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glDrawPixels(lastFrameSize_.x, lastFrameSize_.y, GL_RGBA, GL_UNSIGNED_BYTE, lastFrame_.data());
    }
    glPopAttrib();
    view_->SwapBuffers();
}

void MainFrame::OnMenu(wxCommandEvent& event)
{
    marks_->UndoToolkitToggle(event.GetId(), event.IsChecked());
    shell_->OnCommand(event.GetId());
    FollowScenePanel();
}

void MainFrame::FollowScenePanel()
{
    if (options_.scenePanel == splitter_->IsSplit()) return;
    if (options_.scenePanel) {
        panel_->ShowModel(state_.currentModel.get());
        // Wide enough for names and counts, never more than half the window.
        const int width = std::max(kScenePanelWidth, GetClientSize().x * 2 / 5);
        splitter_->SplitVertically(panel_, view_, std::min(width, GetClientSize().x / 2));
    } else {
        splitter_->Unsplit(panel_);
        panel_->ShowModel(nullptr);  // its rows go with it
    }
}

bool MainFrame::PanelHasFocus() const
{
    for (const wxWindow* window = FindFocus(); window != nullptr; window = window->GetParent())
        if (window == panel_) return panel_->IsShown();
    return false;
}

void MainFrame::OnKey(wxKeyEvent& event)
{
    // Every shortcut shown in the menus is handled here, from whichever
    // window has the focus, before the toolkit's menus see the key. The
    // timeline's slider included: its own Home, End and arrows would move
    // the time as the commands do, which it then follows.
    // Shift does not count for letters (F and f are the same shortcut); with
    // an arrow it steps by a tenth of a second instead of to a key.
    const int code = event.GetKeyCode();
    // An open menu moves with the arrows, Home and End: they are not shortcuts then.
    const bool movesInMenus = code == WXK_LEFT || code == WXK_RIGHT || code == WXK_UP || code == WXK_DOWN ||
                              code == WXK_HOME || code == WXK_END;
    if (openMenus_ > 0 && movesInMenus) {
        event.Skip();
        return;
    }
    std::string name = KeyName(code);
    int modifiers = event.GetModifiers();
    if (code != WXK_LEFT && code != WXK_RIGHT) modifiers &= ~wxMOD_SHIFT;
    if (modifiers == wxMOD_CONTROL)
        name = "Ctrl+" + name;
    else if (modifiers == wxMOD_SHIFT)
        name = "Shift+" + name;
    else if (modifiers != wxMOD_NONE)
        name.clear();
    // The tree keeps the keys it moves and checks with (letters, Space,
    // arrows) while it has the focus; function keys and Ctrl still command.
    const bool functionKey = code >= WXK_F1 && code <= WXK_F12;
    if (PanelHasFocus() && !functionKey && modifiers != wxMOD_CONTROL) name.clear();
    const int id = name.empty() ? 0 : CommandOfAccelerator(MainMenuLayout(), name);
    if (id == 0 || !GetMenuBar()->IsEnabled(id)) {
        event.Skip();
        return;
    }
    shell_->OnCommand(id);
    FollowScenePanel();
}

void MainFrame::OnIdle(wxIdleEvent& event)
{
    // Nothing is drawn inside the event loops of message boxes and dialogs.
    if (!started_ || !shell_->CanDrawFrame() || !view_->HasContext()) return;
    DrawFrame();
    shell_->FollowPlayback();
    if (timeline_->Follow()) Layout();  // the canvas resized: the next frame is drawn at its new size
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
