#include "app/viewer/GlView.h"

#include "app/Frame.h"
#include "platform/Messages.h"

#include <wx/dcclient.h>
#include <wx/utils.h>

#include <X11/Xlib.h>

#include <utility>

wxGLAttributes ViewerGlAttributes()
{
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, 0).DoubleBuffer().Depth(24).EndList();
    return attributes;
}

void ShowUnsupportedDisplay()
{
    platform::ShowMessage("Mode graphique non supporté", "Problème", platform::MessageKind::Error);
}

GlView::GlView(wxWindow* parent, const wxGLAttributes& attributes, ShellState& state, Shell& shell)
    : wxGLCanvas(parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      state_(state),
      shell_(shell)
{
    // Frames cover the whole canvas; the toolkit never paints it.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_CREATE, &GlView::OnCreate, this);
    Bind(wxEVT_SIZE, &GlView::OnSize, this);
    Bind(wxEVT_PAINT, &GlView::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &GlView::OnLeftDown, this);
    Bind(wxEVT_RIGHT_DOWN, &GlView::OnRightDown, this);
    Bind(wxEVT_MIDDLE_DOWN, &GlView::OnMiddleDown, this);
    Bind(wxEVT_LEFT_DCLICK, &GlView::OnLeftDoubleClick, this);
    Bind(wxEVT_MOTION, &GlView::OnMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &GlView::OnWheel, this);
}

GlView::~GlView() { ReleaseContext(); }

void GlView::WhenOnScreen(std::function<void()> onScreen)
{
    onScreen_ = std::move(onScreen);
    CheckOnScreen();
}

void GlView::CheckOnScreen()
{
    // On screen means the toolkit has given the canvas its native window
    // (wxGLCanvasX11::IsShownOnScreen looks for it). What follows runs from
    // the event loop, never inside a size or paint handler: it may show a
    // message box.
    if (!onScreen_ || !IsShownOnScreen()) return;
    CallAfter(std::exchange(onScreen_, nullptr));
}

void GlView::OnCreate(wxWindowCreateEvent& event)
{
    // The toolkit tells every window's creation to its parents too.
    if (event.GetWindow() == this) CheckOnScreen();
    event.Skip();
}

namespace {

// Catches the X errors of what runs in its scope: the toolkit's own handler
// would end the program at the first, before it could say why. On the GUI
// thread only, as every X call of the viewer.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display) : display_(display)
    {
        XSync(display_, False);  // earlier requests' errors are not this scope's
        caught = false;
        previous_ = XSetErrorHandler(&XErrorTrap::Catch);
    }
    ~XErrorTrap() { XSetErrorHandler(previous_); }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // True when any request made in the scope so far failed; called last,
    // so that no error of the scope reaches the toolkit's handler after it.
    bool Caught()
    {
        XSync(display_, False);
        return caught;
    }

private:
    static int Catch(Display*, XErrorEvent*)
    {
        caught = true;
        return 0;
    }
    static inline bool caught = false;
    Display* display_;
    XErrorHandler previous_;
};

}  // namespace

bool GlView::CreateContext()
{
    XErrorTrap errors(wxGetX11Display());
    auto context = std::make_unique<wxGLContext>(this);
    const bool made = context->IsOK() && SetCurrent(*context);
    if (errors.Caught() || !made) return false;
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
    CheckOnScreen();
    event.Skip();
}

void GlView::OnPaint(wxPaintEvent&)
{
    // Validates the area; the frame loop does the drawing, unless it is held
    // back while a command runs.
    wxPaintDC validate(this);
    CheckOnScreen();
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

void GlView::OnMiddleDown(wxMouseEvent& event)
{
    shell_.OnMiddleButtonDown(event.GetX(), event.GetY());
    event.Skip();
}

void GlView::OnLeftDoubleClick(wxMouseEvent& event)
{
    // The second press of a double click is this event, not a button down.
    shell_.OnLeftButtonDown(event.GetX(), event.GetY());
    if (context_) {
        SetCurrent(*context_);
        shell_.OnDoubleClick(event.GetX(), event.GetY());
    }
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
