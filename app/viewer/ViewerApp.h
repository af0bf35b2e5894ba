// The viewer's application object: checks the OpenGL visual, opens the
// main window and routes messages to message boxes.
#pragma once

#include "app/CommandLine.h"
#include "platform/gui/WxMessageSink.h"

#include <wx/app.h>

#include <string>

class ViewerApp : public wxApp {
public:
    // The model to open and how, set before the toolkit starts (the toolkit
    // never sees the real arguments).
    static void SetCommandLine(ViewerCommandLine commandLine);
    // True when start-up failed and the program must end with status 1.
    static bool StartupFailed();

    bool OnInit() override;
    int OnExit() override;
    void OnAssertFailure(const wxChar* file, int line, const wxChar* function, const wxChar* condition,
                         const wxChar* message) override;

private:
    platform::WxMessageSink messageSink_;
};

wxDECLARE_APP(ViewerApp);
