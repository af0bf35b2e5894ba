#include "app/viewer/ViewerApp.h"

#include "app/ShellState.h"
#include "app/viewer/GlView.h"
#include "app/viewer/MainFrame.h"
#include "platform/Messages.h"
#include "render/Scene.h"

#include <cstdio>

namespace {
ViewerCommandLine commandLine;
bool startupFailed = false;
}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ViewerApp);

void ViewerApp::SetCommandLine(ViewerCommandLine parsed) { commandLine = std::move(parsed); }
bool ViewerApp::StartupFailed() { return startupFailed; }

bool ViewerApp::OnInit()
{
    // No wxApp::OnInit: the toolkit parses no command line of ours.
    platform::SetMessageSink(&messageSink_);

    const wxGLAttributes attributes = ViewerGlAttributes();
    if (!wxGLCanvas::IsDisplaySupported(attributes)) {
        ShowUnsupportedDisplay();
        startupFailed = true;
        return false;
    }

    auto* frame = new MainFrame(TheShellState(), TheViewOptions(), attributes);  // the toolkit deletes it
    frame->Show();
    frame->Start(commandLine, {.started = {}, .noContext = [] { startupFailed = true; }});
    return true;
}

int ViewerApp::OnExit()
{
    platform::SetMessageSink(nullptr);
    return wxApp::OnExit();
}

void ViewerApp::OnAssertFailure(const wxChar* file, int line, const wxChar* function, const wxChar* condition,
                                const wxChar* message)
{
    // A toolkit assertion is reported, never shown as a dialog that would stop the viewer.
    std::fprintf(stderr, "wxWidgets assertion: %s:%d %s: %s %s\n", wxString(file).utf8_str().data(), line,
                 wxString(function).utf8_str().data(), wxString(condition).utf8_str().data(),
                 wxString(message).utf8_str().data());
}
