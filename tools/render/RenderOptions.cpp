#include "RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace render_tool {

const char* const kUsage =
    "Usage: pelmora-render [options] FILE OUT.png\n"
    "\n"
    "Loads the .x model FILE with its textures, draws one frame offscreen as the\n"
    "viewer would, and writes it to OUT.png. No display is needed.\n"
    "\n"
    "Options:\n"
    "  --path immediate|list|arrays|buffers   draw path (default: buffers)\n"
    "  --normals                              draw the vertex normals\n"
    "  --box                                  draw the bounding boxes\n"
    "  --mode fill|wire|points                polygon mode (default: fill)\n"
    "  --no-light                             draw without lighting\n"
    "  --size WxH                             picture size (default: 640x480)\n"
    "  --yaw DEGREES                          turn about the vertical axis (default: 0)\n"
    "  --pitch DEGREES                        turn about the horizontal axis (default: 0)\n"
    "  --distance D                           camera distance (default: 10)\n"
    "  --as-authored                          the scene as its author placed it: meshes moved by\n"
    "                                         their frames and bones, DirectX's left-handed\n"
    "                                         coordinates turned into OpenGL's\n"
    "  --fit                                  centre the view on the model and back the camera\n"
    "                                         off until it all fits (then --distance is ignored)\n"
    "  --traces                               write the load traces to standard error\n"
    "  --help                                 show this help\n"
    "\n"
    "Messages go to standard error. The exit status is 0 when the picture was\n"
    "written, 1 when the model could not be loaded or the picture not made,\n"
    "2 when the command line is wrong.\n";

namespace {

std::optional<float> ParseFloat(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> ParseDimension(const std::string& text)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int value = std::atoi(text.c_str());
    if (value < 1 || value > 16384) return std::nullopt;
    return value;
}

bool SetPath(ViewOptions& view, const std::string& name)
{
    view.useDisplayList = name == "list";
    view.useIndexedArrays = name == "arrays";
    view.useBufferObjects = name == "buffers";
    return name == "immediate" || name == "list" || name == "arrays" || name == "buffers";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    RenderOptions options;
    std::vector<std::string> positional;
    auto fail = [](std::string error) { return ParsedCommandLine{std::nullopt, std::move(error)}; };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return {options, {}};
        } else if (argument == "--normals") {
            options.view.drawNormals = true;
        } else if (argument == "--box") {
            options.view.drawBoundingBox = true;
        } else if (argument == "--no-light") {
            options.lighting = false;
        } else if (argument == "--traces") {
            options.traces = true;
        } else if (argument == "--as-authored") {
            options.view.asAuthored = true;
        } else if (argument == "--fit") {
            options.fit = true;
        } else if (argument == "--path") {
            const auto name = value();
            if (!name || !SetPath(options.view, *name)) return fail("--path takes immediate, list, arrays or buffers");
        } else if (argument == "--mode") {
            const auto name = value();
            if (name == "fill") options.fill = PolygonFill::Fill;
            else if (name == "wire") options.fill = PolygonFill::Wire;
            else if (name == "points") options.fill = PolygonFill::Points;
            else return fail("--mode takes fill, wire or points");
        } else if (argument == "--size") {
            const auto size = value();
            const std::size_t x = size ? size->find('x') : std::string::npos;
            const auto width = x != std::string::npos ? ParseDimension(size->substr(0, x)) : std::nullopt;
            const auto height = x != std::string::npos ? ParseDimension(size->substr(x + 1)) : std::nullopt;
            if (!width || !height) return fail("--size takes WIDTHxHEIGHT, each from 1 to 16384");
            options.width = *width;
            options.height = *height;
        } else if (argument == "--yaw" || argument == "--pitch" || argument == "--distance") {
            const auto text = value();
            const auto number = text ? ParseFloat(*text) : std::nullopt;
            if (!number) return fail(argument + " takes a number");
            (argument == "--yaw" ? options.yaw : argument == "--pitch" ? options.pitch : options.distance) = *number;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return fail("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) return fail("give the model file and the picture to write");
    options.modelPath = positional[0];
    options.outputPath = positional[1];
    return {options, {}};
}

}  // namespace render_tool
