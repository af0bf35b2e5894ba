// pelmora-render: draws a .x model offscreen and writes the frame as a PNG.
#include "AnimationChoice.h"
#include "RenderOptions.h"

#include "NoMesh.h"
#include "platform/HeadlessContext.h"
#include "platform/PngFile.h"
#include "platform/Messages.h"
#include "platform/Version.h"
#include "model/file/ModelFile.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "render/SceneFrame.h"

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
        SceneFrame frame;
        frame.view = options.view;
        frame.pose = PoseOf(options.view);
        LoadError failure;
        if (loaded.Load(options.modelPath, frame.pose, &failure) != S_OK) {
            std::cerr << "pelmora-render: cannot load " << options.modelPath << ": " << failure.reason << "\n";
            return 1;
        }
        // Nothing to draw: no picture, so that a thumbnailer shows its icon instead.
        // Frames alone are drawn when the skeleton is asked for.
        const bool framesDrawn = options.view.skeleton && !loaded.model.frames.empty();
        if (!framesDrawn && tool_common::TellWhenNoMesh("pelmora-render", loaded.model, options.modelPath)) return 1;
        if (options.animation) {
            const auto set = tool_common::FindAnimationSet(loaded.model, *options.animation);
            if (!set) {
                std::cerr << "pelmora-render: " << options.modelPath << " has no animation set " << *options.animation
                          << "\n";
                return 1;
            }
            frame.pose = PoseOf(options.view, static_cast<std::int32_t>(*set), options.time);
        }
        frame.model = &loaded;
        frame.camera = {options.pitch, options.yaw, options.distance, {}};
        frame.width = options.width;
        frame.height = options.height;
        frame.transparentBackground = options.transparent;
        if (options.fit)
            if (const auto fitted = FittedCamera(frame)) frame.camera = *fitted;
        DrawSceneFrame(frame);
        glFinish();
        pixels = context.ReadPixels();
    }
    const std::string error = platform::WritePng(options.outputPath, options.width, options.height, pixels,
                                                 options.transparent ? platform::PngAlpha::Keep : platform::PngAlpha::Drop);
    if (!error.empty()) {
        std::cerr << "pelmora-render: " << options.outputPath << ": " << error << "\n";
        return 1;
    }
    return 0;
}

int ListAnimations(const render_tool::RenderOptions& options)
{
    // Read alone: no context, no textures.
    const ModelOrError model = ReadModelFile(options.modelPath, {.anyLayout = options.view.asAuthored});
    if (!model) {
        platform::ShowMessages(model.error().messages);
        std::cerr << "pelmora-render: cannot load " << options.modelPath << ": " << model.error().reason << "\n";
        return 1;
    }
    std::cout << tool_common::ListAnimations(*model);
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
    return parsed.options->listAnimations ? ListAnimations(*parsed.options) : Render(*parsed.options);
}
