#include "ConvertOptions.h"

#include "platform/AsciiCase.h"

#include <CLI/CLI.hpp>

#include <filesystem>

namespace convert_tool {

const char* const kUsage =
    "Usage: pelmora-convert [options] FILE OUT.glb|OUT.gltf\n"
    "       pelmora-convert [options] -o FOLDER FILE...\n"
    "\n"
    "Reads the .x model FILE and writes it as glTF 2.0: the scene as its author\n"
    "placed it (frames, meshes, materials, textures, skins, animation sets) in\n"
    "glTF's right-handed, +Y-up axes. OUT.glb is one file; OUT.gltf is JSON with\n"
    "its .bin and images beside it. With -o, each FILE is written into FOLDER\n"
    "under its own name (FILE's name without its extension, then .glb), one\n"
    "progress line per file on standard output; FOLDER is made when missing.\n"
    "No display is needed.\n"
    "\n"
    "Options:\n"
    "  -o FOLDER              write every FILE into FOLDER\n"
    "  --gltf                 with -o: write .gltf files rather than .glb\n"
    "  --up y|z               the model's vertical axis (default: y); z stands a\n"
    "                         model authored with z up\n"
    "  --vertex-colors        the file's vertex colours, as COLOR_0\n"
    "  --animation SET        only animation set SET: its number from 1 in file\n"
    "                         order, or its name\n"
    "  --no-animations        no animation at all\n"
    "  --no-textures          every material untextured, no image read\n"
    "  --help                 show this help\n"
    "  --version              show the version\n"
    "\n"
    "Messages go to standard error; what glTF could not take as it is, and how\n"
    "it was written instead, is told as \"FILE: notice\". A file that fails is\n"
    "told and the others are still written; with -o a summary of the failed\n"
    "files ends the run. The exit status is 0 when every file was written, 1\n"
    "when any was not, 2 when the command line is wrong.\n";

namespace {

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() > end.size() &&
           platform::EqualIgnoringAsciiCase(std::string_view(text).substr(text.size() - end.size()), end);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    ConvertOptions options;
    auto fail = [](std::string error) { return ParsedCommandLine{std::nullopt, std::move(error)}; };

    CLI::App app{"pelmora-convert", "pelmora-convert"};
    app.set_help_flag();  // the help text is ours
    std::string up = "y";
    bool noAnimations = false, noTextures = false;
    std::vector<std::string> positional;
    app.add_flag("-h,--help", options.help);
    app.add_flag("--version", options.version);
    app.add_option("-o", options.folder);
    app.add_flag("--gltf", options.separateFiles);
    app.add_option("--up", up)->check(CLI::IsMember({"y", "z"}));
    app.add_flag("--vertex-colors", options.exportOptions.vertexColors);
    app.add_option("--animation", options.animation);
    app.add_flag("--no-animations", noAnimations);
    app.add_flag("--no-textures", noTextures);
    app.add_option("files", positional);
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return fail(error.what());
    }
    if (options.help || options.version) return {options, {}};

    options.exportOptions.upZ = up == "z";
    options.exportOptions.animations = !noAnimations;
    options.exportOptions.textures = !noTextures;
    if (options.animation && noAnimations) return fail("--animation and --no-animations exclude each other");
    if (options.folder) {
        if (options.folder->empty()) return fail("-o takes a folder");
        if (positional.empty()) return fail("give the model files to convert into " + *options.folder);
        options.inputs = std::move(positional);
        return {options, {}};
    }
    if (options.separateFiles) return fail("--gltf goes with -o; without it, name the output .gltf");
    if (positional.size() != 2) return fail("give the model file and the glTF file to write (or -o FOLDER)");
    options.inputs = {positional[0]};
    options.output = positional[1];
    // Anything else would be written as .glb under a name that says otherwise,
    // or over a second model given by mistake.
    if (!EndsWith(options.output, ".glb") && !EndsWith(options.output, ".gltf"))
        return fail("the output's name must end in .glb or .gltf: " + options.output);
    return {options, {}};
}

std::string OutputInFolder(const ConvertOptions& options, const std::string& input)
{
    const std::filesystem::path name = std::filesystem::path(input).stem();
    return (std::filesystem::path(options.folder.value_or(".")) / name).string() +
           (options.separateFiles ? ".gltf" : ".glb");
}

}  // namespace convert_tool
