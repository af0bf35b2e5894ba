// The OpenGL canvas that fills the main window: its context, its size and
// the mouse.
#pragma once

#include "app/Shell.h"
#include "app/ShellState.h"

#include <wx/glcanvas.h>

#include <functional>
#include <memory>

// Double-buffered RGBA with a 24-bit depth buffer.
wxGLAttributes ViewerGlAttributes();
// Tells that the display cannot serve the canvas: no visual fits, or no
// context can be made.
void ShowUnsupportedDisplay();

class GlView : public wxGLCanvas {
public:
    GlView(wxWindow* parent, const wxGLAttributes& attributes, ShellState& state, Shell& shell);
    ~GlView() override;

    // Called once, the first time the canvas is on screen: before that
    // (a window manager maps the window some time after it is shown) no
    // context can be made current on it. At once when it already is.
    void WhenOnScreen(std::function<void()> onScreen);
    // Creates the context and makes it current; the canvas must be on screen.
    bool CreateContext();
    bool HasContext() const { return context_ != nullptr; }
    void MakeCurrent();
    void ReleaseContext();
    // What a paint request does besides validating the area.
    void SetRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }

private:
    void CheckOnScreen();
    void OnCreate(wxWindowCreateEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnMiddleDown(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnWheel(wxMouseEvent& event);

    ShellState& state_;
    Shell& shell_;
    std::unique_ptr<wxGLContext> context_;
    std::function<void()> repaint_;
    std::function<void()> onScreen_;
};
