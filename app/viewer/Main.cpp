// The pelmora program: a window that shows the ".x" model named on the
// command line, or none.
#include "app/CommandLine.h"
#include "app/viewer/ViewerApp.h"

int main(int argc, char** argv)
{
    // The path is taken verbatim; the toolkit gets the program's name alone,
    // so it can neither parse nor remove any argument.
    ViewerApp::SetCommandLineText(JoinCommandLine(argc, argv));
    char* toolkitArgv[] = {argv[0], nullptr};
    int toolkitArgc = 1;
    const int status = wxEntry(toolkitArgc, toolkitArgv);
    return status == 0 && !ViewerApp::StartupFailed() ? 0 : 1;
}
