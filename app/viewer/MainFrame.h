// The main window: menu bar, OpenGL canvas, and the frame loop that draws
// whenever no event waits.
#pragma once

#include "app/CommandLine.h"
#include "app/FrameRate.h"
#include "app/Overlay.h"
#include "app/Shell.h"
#include "app/ShellState.h"
#include "app/viewer/GlView.h"
#include "app/viewer/TimelinePanel.h"
#include "platform/gui/WxFileDialogs.h"
#include "platform/gui/WxMenuMarks.h"

#include <wx/frame.h>

class ScenePanel;
class wxSplitterWindow;

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include <optional>
#include <string>

class MainFrame : public wxFrame {
public:
    MainFrame(ShellState& state, ViewOptions& options, const wxGLAttributes& attributes);

    // What the start tells the window's owner.
    struct StartNotice {
        std::function<void()> started;    // after the start-up load, before the first frame
        std::function<void()> noContext;  // no context could be made: told, and the window closes
    };
    // Once the window is shown: as soon as the canvas is on screen (a window
    // manager maps it later), the context, the fixed OpenGL state, then the
    // model named on the command line and the first frame. A context that
    // cannot be made is told as an unusable display is, and the window closes.
    void Start(const ViewerCommandLine& commandLine, StartNotice notice = {});

    // Draws one frame now, as the loop does when idle.
    void DrawFrame();

private:
    void BeginOnScreen(const ViewerCommandLine& commandLine, const StartNotice& notice);
    void OnMenu(wxCommandEvent& event);
    void OnKey(wxKeyEvent& event);
    // The panel shown or hidden as the view value says, its rows made anew when shown.
    void FollowScenePanel();
    bool PanelHasFocus() const;
    void OnIdle(wxIdleEvent& event);
    void OnClose(wxCloseEvent& event);
    // While a command runs no frame is drawn: the last one is kept, to be
    // shown again whenever the window is asked to paint.
    void KeepLastFrame();
    void ShowLastFrame();

    ShellState& state_;
    ViewOptions& options_;
    std::unique_ptr<platform::WxMenuMarks> marks_;
    platform::WxFileDialogs dialogs_;
    std::unique_ptr<Shell> shell_;
    wxSplitterWindow* splitter_ = nullptr;  // child windows, owned by this frame
    GlView* view_ = nullptr;
    ScenePanel* panel_ = nullptr;
    static constexpr int kScenePanelWidth = 320;
    TimelinePanel* timeline_ = nullptr;
    std::optional<GlutOverlayFont> font_;
    TickSource ticks_;
    bool started_ = false;
    int openMenus_ = 0;  // menus on screen, submenus included: they take the keys that move in them
    std::vector<std::uint8_t> lastFrame_;  // RGBA, bottom row first, at lastFrameSize_
    wxSize lastFrameSize_;
};
