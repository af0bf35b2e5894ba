#include "app/CommandLine.h"

#include "platform/Version.h"

#include <CLI/CLI.hpp>

#include <vector>

const char* const kViewerUsage =
    "Usage: pelmora [--as-authored] [--fit] [FILE]\n"
    "\n"
    "Opens the DirectX .x model FILE (text, binary or compressed) in a window;\n"
    "without FILE, opens the window empty (\"Fichier\" > \"Load Mesh\" opens one).\n"
    "The words after the options are the path, joined by single blanks.\n"
    "\n"
    "Options:\n"
    "  --as-authored   the scene as its author placed it: meshes moved by their\n"
    "                  frames and bones, DirectX's left-handed coordinates turned\n"
    "                  into OpenGL's (the \"Scène telle que créée\" switch)\n"
    "  --fit           centre the view on the model and back the camera off until\n"
    "                  it all fits (\"Cadrer le modèle\")\n"
    "  --help          show this help\n"
    "  --version       show the version\n";

ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv)
{
    ViewerCommandLine parsed;
    CLI::App app{"pelmora", "pelmora"};
    app.set_help_flag();  // the help text is ours
    bool help = false, version = false;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_flag("--as-authored", parsed.asAuthored);
    app.add_flag("--fit", parsed.fit);
    // The first word that is no option starts the path: the rest is the path's.
    app.prefix_command();
    app.allow_extras();
    std::vector<std::string> arguments;
    for (int i = argc - 1; i >= 1; --i)
        if (argv[i] != nullptr) arguments.emplace_back(argv[i]);
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        parsed.exit = true;
        parsed.exitStatus = 2;
        parsed.output = std::string("pelmora: ") + error.what() + "\n\n" + kViewerUsage;
        return parsed;
    }
    if (help || version) {
        parsed.exit = true;
        parsed.output = help ? kViewerUsage : std::string("pelmora ") + platform::kVersion + "\n";
        return parsed;
    }
    const std::vector<std::string> words = app.remaining();
    for (std::size_t k = 0; k < words.size(); ++k) parsed.modelPath += (k > 0 ? " " : "") + words[k];
    return parsed;
}
