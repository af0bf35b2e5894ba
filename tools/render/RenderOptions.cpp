#include "RenderOptions.h"

#include "platform/AsciiCase.h"
#include "render/AxisViews.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace render_tool {

namespace {

// "  --path immediate|list|arrays|buffers   draw path (default: buffers)", from the paths' table.
std::string PathUsageLine()
{
    std::string line = "  --path ";
    for (const DrawPathEntry& entry : kDrawPaths) {
        if (&entry != &kDrawPaths.front()) line += '|';
        line += entry.word;
    }
    line.resize(std::max<std::size_t>(line.size() + 1, 41), ' ');
    return line + "draw path (default: " + std::string(DrawPathOf(SelectedPath(ViewOptions{})).word) + ")\n";
}

}  // namespace

const std::string kUsage =
    std::string("Usage: pelmora-render [options] FILE OUT.png\n"
    "       pelmora-render --thumbnail SIZE FILE OUT.png\n"
    "       pelmora-render --list-animations FILE\n"
    "\n"
    "Loads the .x model FILE with its textures, draws one frame offscreen as the\n"
    "viewer would, and writes it to OUT.png. No display is needed.\n"
    "\n"
    "Options:\n") +
    PathUsageLine() +
    "  --normals                              draw the vertex normals\n"
    "  --box                                  draw the bounding boxes\n"
    "  --mode fill|wire|points                polygon mode (default: fill)\n"
    "  --no-light                             draw without lighting\n"
    "  --size WxH                             picture size (default: 640x480)\n"
    "  --yaw DEGREES                          turn about the vertical axis (default: 0)\n"
    "  --pitch DEGREES                        turn about the horizontal axis (default: 0)\n"
    "  --distance D                           camera distance, positive (default: 10)\n"
    "  --view front|top|side                  look from the front, from above the vertical\n"
    "                                         axis or from the model's right (instead of\n"
    "                                         --yaw and --pitch)\n"
    "  --ortho                                orthographic projection, the size perspective\n"
    "                                         gives at the centre\n"
    "  --as-authored                          the scene as its author placed it: meshes moved by\n"
    "                                         their frames and bones, DirectX's left-handed\n"
    "                                         coordinates turned into OpenGL's\n"
    "  --fit                                  centre the view on the model and back the camera\n"
    "                                         off until it fills 85% of the picture's smaller\n"
    "                                         side, as turned (then --distance is ignored)\n"
    "  --animation SET                        the scene posed by animation set SET: its number\n"
    "                                         from 1 in file order, or its name (implies\n"
    "                                         --as-authored; --fit fits that pose)\n"
    "  --time SECONDS                         that far into the set (default: 0)\n"
    "  --up y|z                               the model's vertical axis (default: y); z turns\n"
    "                                         the scene so that z points up\n"
    "  --vertex-colors                        a mesh's vertex colours as its diffuse colour\n"
    "  --skeleton                             draw the skeleton over the model, in its pose\n"
    "                                         (implies --as-authored); a file of frames alone\n"
    "                                         is drawn as its frames, fitted on them with --fit\n"
    "  --grid                                 draw a ground grid under the model\n"
    "  --axes                                 draw the axes in the bottom-left corner\n"
    "  --background grey|black|white|gradient\n"
    "                                         the background (default: grey)\n"
    "  --transparent                          leave the background transparent\n"
    "  --thumbnail SIZE                       a file manager's thumbnail: SIZExSIZE, as\n"
    "                                         authored, fitted, at a three-quarter view, on a\n"
    "                                         transparent background\n"
    "  --list-animations                      list FILE's animation sets instead: number, name,\n"
    "                                         length in seconds, frames moved\n"
    "  --traces                               write the load traces to standard error\n"
    "  --help                                 show this help\n"
    "  --version                              show the version\n"
    "\n"
    "Messages go to standard error. A file that loads but holds no mesh is told\n"
    "as \"no mesh in FILE\" and gives no picture, unless --skeleton draws its\n"
    "frames. The exit status is 0 when the picture was written, 1 when the model\n"
    "could not be loaded, held nothing to draw or the picture was not made, 2 when\n"
    "the command line is wrong.\n";

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

bool SetPath(ViewOptions& view, const std::string& word)
{
    const DrawPathEntry* entry = DrawPathOfWord(word);
    if (entry != nullptr) SelectPath(view, entry->path);
    return entry != nullptr;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    RenderOptions options;
    auto fail = [](std::string error) { return ParsedCommandLine{std::nullopt, std::move(error)}; };

    CLI::App app{"pelmora-render", "pelmora-render"};
    app.set_help_flag();  // the help text is ours
    bool version = false;
    std::optional<std::string> path, mode, size, yaw, pitch, distance, time, thumbnail, view;
    std::string up = "y";
    std::vector<std::string> positional;
    app.add_flag("-h,--help", options.help);
    app.add_flag("--version", version);
    app.add_flag("--normals", options.view.drawNormals);
    app.add_flag("--box", options.view.drawBoundingBox);
    app.add_flag("--no-light", [&](std::int64_t) { options.view.lighting = false; });
    app.add_flag("--traces", options.traces);
    app.add_flag("--as-authored", options.view.asAuthored);
    app.add_flag("--fit", options.fit);
    app.add_flag("--ortho", options.view.orthographic);
    app.add_option("--view", view);
    app.add_flag("--vertex-colors", options.view.vertexColors);
    app.add_flag("--transparent", options.transparent);
    app.add_flag("--skeleton", options.view.skeleton);
    app.add_flag("--grid", options.view.grid);
    app.add_flag("--axes", options.view.axes);
    std::string background = "grey";
    app.add_option("--background", background)->check(CLI::IsMember({"grey", "black", "white", "gradient"}));
    app.add_option("--up", up)->check(CLI::IsMember({"y", "z"}));
    app.add_option("--thumbnail", thumbnail);
    app.add_option("--path", path);
    app.add_option("--mode", mode);
    app.add_option("--size", size);
    app.add_option("--yaw", yaw);
    app.add_option("--pitch", pitch);
    app.add_option("--distance", distance);
    app.add_option("--animation", options.animation);
    app.add_option("--time", time);
    app.add_flag("--list-animations", options.listAnimations);
    app.add_option("files", positional);
    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        return fail(error.what());
    }
    if (options.help) return {options, {}};
    if (version) {
        options.version = true;
        return {options, {}};
    }

    if (path && !SetPath(options.view, *path)) {
        std::string words;
        for (const DrawPathEntry& entry : kDrawPaths)
            words += std::string(words.empty() ? "" : &entry == &kDrawPaths.back() ? " or " : ", ") + std::string(entry.word);
        return fail("--path takes " + words);
    }
    if (mode) {
        if (*mode == "fill") options.view.fill = PolygonFill::Fill;
        else if (*mode == "wire") options.view.fill = PolygonFill::Wire;
        else if (*mode == "points") options.view.fill = PolygonFill::Points;
        else return fail("--mode takes fill, wire or points");
    }
    if (size) {
        const std::size_t x = size->find('x');
        const auto width = x != std::string::npos ? ParseDimension(size->substr(0, x)) : std::nullopt;
        const auto height = x != std::string::npos ? ParseDimension(size->substr(x + 1)) : std::nullopt;
        if (!width || !height) return fail("--size takes WIDTHxHEIGHT, each from 1 to 16384");
        options.width = *width;
        options.height = *height;
    }
    for (const auto& [name, text, target] : {std::tuple{"--yaw", &yaw, &options.yaw}, {"--pitch", &pitch, &options.pitch},
                                             {"--distance", &distance, &options.distance}}) {
        if (!*text) continue;
        const auto number = ParseFloat(**text);
        if (!number) return fail(std::string(name) + " takes a number");
        *target = *number;
    }
    if (view) {
        const std::optional<AxisView> axis = AxisViewOfWord(*view);
        if (!axis) return fail("--view takes front, top or side");
        const Camera turned = AlongAxis({}, *axis);
        options.pitch = turned.angleX;
        options.yaw = turned.angleY;
    }
    if (time) {
        const auto seconds = ParseFloat(*time);
        if (!seconds || *seconds < 0) return fail("--time takes a number of seconds, not negative");
        if (!options.animation) return fail("--time needs --animation");
        options.time = *seconds;
    }
    if (distance && options.distance <= 0) return fail("--distance takes a positive number");
    options.view.upZ = up == "z";
    options.view.background = background == "black"   ? Background::Black
                            : background == "white"    ? Background::White
                            : background == "gradient" ? Background::Gradient
                                                       : Background::Grey;
    if (thumbnail) {
        const auto side = ParseDimension(*thumbnail);
        if (!side) return fail("--thumbnail takes a size from 1 to 16384");
        options.width = options.height = *side;
        options.view.asAuthored = options.fit = options.transparent = true;
        options.yaw = kThumbnailYaw;
        options.pitch = kThumbnailPitch;
    }
    // Bones are posed only as authored.
    if (options.animation || options.view.skeleton) options.view.asAuthored = true;
    if (options.listAnimations) {
        if (positional.size() != 1) return fail("--list-animations takes the model file alone");
        options.modelPath = positional[0];
        return {options, {}};
    }
    if (positional.size() != 2) return fail("give the model file and the picture to write");
    options.modelPath = positional[0];
    options.outputPath = positional[1];
    const std::string& out = options.outputPath;
    if (out.size() < 5 || !platform::EqualIgnoringAsciiCase(std::string_view(out).substr(out.size() - 4), ".png"))
        return fail("the picture's name must end in .png: " + out);
    return {options, {}};
}

}  // namespace render_tool
