#include "app/CommandLine.h"

#include "platform/Version.h"

#include <CLI/CLI.hpp>

#include <vector>

const char* const kViewerUsage =
    "Usage: pelmora [--as-authored] [--fit] [--up y|z] [--vertex-colors] [FILE]\n"
    "\n"
    "Opens the DirectX .x model FILE (text, binary or compressed) in a window;\n"
    "without FILE, opens the window empty (\"Fichier\" > \"Load Mesh\" opens one).\n"
    "The options may stand anywhere; the other words are the path, joined by\n"
    "single blanks (after \"--\", every word is).\n"
    "\n"
    "Options:\n"
    "  --as-authored   the scene as its author placed it: meshes moved by their\n"
    "                  frames and bones, DirectX's left-handed coordinates turned\n"
    "                  into OpenGL's (the \"Scène telle que créée\" switch)\n"
    "  --fit           centre the view on the model and back the camera off until\n"
    "                  it fills the window (\"Cadrer le modèle\")\n"
    "  --up y|z        the model's vertical axis (default: y); z turns the scene\n"
    "                  so that z points up (\"Axe vertical Z\")\n"
    "  --vertex-colors a mesh's vertex colours as its diffuse colour\n"
    "                  (\"Couleurs des sommets\")\n"
    "  --help          show this help\n"
    "  --version       show the version\n"
    "\n"
    "The exit status is 0 after a normal close, 1 when the window cannot be\n"
    "set up, 2 when the command line is wrong.\n";

ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv)
{
    ViewerCommandLine parsed;
    CLI::App app{"pelmora", "pelmora"};
    app.set_help_flag();  // the help text is ours
    bool help = false, version = false;
    std::string up = "y";
    std::vector<std::string> words;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_flag("--as-authored", parsed.asAuthored);
    app.add_flag("--fit", parsed.fit);
    app.add_flag("--vertex-colors", parsed.vertexColors);
    app.add_option("--up", up)->check(CLI::IsMember({"y", "z"}));
    app.add_option("words", words);
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
    parsed.upZ = up == "z";
    for (std::size_t k = 0; k < words.size(); ++k) parsed.modelPath += (k > 0 ? " " : "") + words[k];
    return parsed;
}
