// pelmora-render: draws a .x model offscreen and writes the frame as a PNG.
#include "PngFile.h"
#include "RenderOptions.h"

#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "platform/Version.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"

#include <GL/gl.h>

#include <cstdio>
#include <iostream>

namespace {

int Render(const render_tool::RenderOptions& options)
{
    platform::HeadlessContext context(options.width, options.height);
    if (!context.Ok()) {
        std::cerr << "pelmora-render: no offscreen OpenGL context: " << context.Error() << "\n";
        return 1;
    }
    InitGL(static_cast<float>(options.width), static_cast<float>(options.height));

    std::vector<std::uint8_t> pixels;
    {
        // The model goes before the context: it gives its OpenGL objects back.
        LoadedModel loaded;
        if (loaded.Load(options.modelPath, PoseChoice{options.view.asAuthored}) != S_OK) {
            std::cerr << "pelmora-render: cannot load " << options.modelPath << "\n";
            return 1;
        }
        SetPolygonFill(options.fill);
        if (!options.lighting) SetLighting(false);
        ApplyFrontFace(options.view);
        ViewFrame frame;
        float distance = options.distance;
        if (options.fit)
            if (const auto view = FitView(loaded, static_cast<float>(options.width), static_cast<float>(options.height))) {
                frame = view->frame;
                distance = view->distance;
            }
        SetPerspective(static_cast<float>(options.width), static_cast<float>(options.height), frame, distance);
        AimCamera(distance);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options.view, options.pitch, options.yaw, frame.centre);
        glFinish();
        pixels = context.ReadPixels();
    }
    const std::string error = render_tool::WritePng(options.outputPath, options.width, options.height, pixels);
    if (!error.empty()) {
        std::cerr << "pelmora-render: " << options.outputPath << ": " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const render_tool::ParsedCommandLine parsed = render_tool::ParseCommandLine(arguments);
    if (!parsed.options) {
        std::cerr << "pelmora-render: " << parsed.error << "\n\n" << render_tool::kUsage;
        return 2;
    }
    if (parsed.options->help) {
        std::cout << render_tool::kUsage;
        return 0;
    }
    if (parsed.options->version) {
        std::cout << "pelmora-render " << platform::kVersion << "\n";
        return 0;
    }

    platform::ConsoleMessageSink console;
    platform::ScopedMessageSink messages(console);
    platform::StderrTraceSink toStderr;
    platform::NullTraceSink nowhere;
    platform::ScopedTraceSink traces(parsed.options->traces ? static_cast<platform::TraceSink&>(toStderr) : nowhere);
    return Render(*parsed.options);
}
