#include "app/viewer/GlView.h"

#include "app/Frame.h"

#include <wx/dcclient.h>

wxGLAttributes ViewerGlAttributes()
{
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, 0).DoubleBuffer().Depth(24).EndList();
    return attributes;
}

GlView::GlView(wxWindow* parent, const wxGLAttributes& attributes, ShellState& state, Shell& shell)
    : wxGLCanvas(parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      state_(state),
      shell_(shell)
{
    // Frames cover the whole canvas; the toolkit never paints it.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_SIZE, &GlView::OnSize, this);
    Bind(wxEVT_PAINT, &GlView::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &GlView::OnLeftDown, this);
    Bind(wxEVT_RIGHT_DOWN, &GlView::OnRightDown, this);
    Bind(wxEVT_MOTION, &GlView::OnMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &GlView::OnWheel, this);
}

GlView::~GlView() { ReleaseContext(); }

bool GlView::CreateContext()
{
    auto context = std::make_unique<wxGLContext>(this);
    if (!context->IsOK() || !SetCurrent(*context)) return false;
    context_ = std::move(context);
    return true;
}

void GlView::MakeCurrent()
{
    if (context_) SetCurrent(*context_);
}

void GlView::ReleaseContext() { context_.reset(); }

void GlView::OnSize(wxSizeEvent& event)
{
    const wxSize size = GetClientSize();
    if (context_) {
        SetCurrent(*context_);
        ResizeGL(state_, size.x, size.y);
    } else {
        RecordClientSize(state_, size.x, size.y);
    }
    event.Skip();
}

void GlView::OnPaint(wxPaintEvent&)
{
    // Validates the area; the frame loop does the drawing, unless it is held
    // back while a command runs.
    wxPaintDC validate(this);
    if (repaint_) repaint_();
}

void GlView::OnLeftDown(wxMouseEvent& event)
{
    shell_.OnLeftButtonDown(event.GetX(), event.GetY());
    event.Skip();
}

void GlView::OnRightDown(wxMouseEvent& event)
{
    shell_.OnRightButtonDown(event.GetY());
    event.Skip();
}

void GlView::OnMotion(wxMouseEvent& event)
{
    MouseKeys keys;
    keys.left = event.LeftIsDown();
    keys.right = event.RightIsDown();
    keys.middle = event.MiddleIsDown();
    keys.extra1 = event.Aux1IsDown();
    keys.extra2 = event.Aux2IsDown();
    keys.shift = event.ShiftDown();
    keys.control = event.ControlDown();
    shell_.OnMouseMove(event.GetX(), event.GetY(), keys);
    event.Skip();
}

void GlView::OnWheel(wxMouseEvent& event)
{
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL && event.GetWheelDelta() > 0)
        shell_.OnWheel(static_cast<double>(event.GetWheelRotation()) / event.GetWheelDelta());
    event.Skip();
}
