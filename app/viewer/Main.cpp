// The pelmora program: a window that shows the ".x" model named on the
// command line, or none.
#include "app/CommandLine.h"
#include "app/viewer/ViewerApp.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // The path is taken verbatim; the toolkit gets the program's name alone,
    // so it can neither parse nor remove any argument.
    const ViewerCommandLine commandLine = ParseViewerCommandLine(argc, argv);
    if (commandLine.exit) {
        std::fputs(commandLine.output.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
        return commandLine.exitStatus;
    }
    ViewerApp::SetCommandLine(commandLine);
    // The toolkit's OpenGL canvas is built on GLX alone (Debian's wxWidgets
    // has no EGL canvas), so the window is an X11 one, through XWayland under
    // Wayland, whatever backend the session prefers for other programs: on
    // any other the canvas could not start.
    setenv("GDK_BACKEND", "x11", 1);
    char* toolkitArgv[] = {argv[0], nullptr};
    int toolkitArgc = 1;
    const int status = wxEntry(toolkitArgc, toolkitArgv);
    return status == 0 && !ViewerApp::StartupFailed() ? 0 : 1;
}
