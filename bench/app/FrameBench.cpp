// Measures the viewer's frames with its own window, canvas and frame code:
//   bench_app_frames first-frame MODEL   time from process start to the first frame
//   bench_app_frames paths MODEL         frames per second along each draw path
//   bench_app_frames grid FILE QUADS     writes a grid model of QUADS x QUADS quads
#include "GridModel.h"
#include "app/ShellState.h"
#include "app/viewer/GlView.h"
#include "app/viewer/MainFrame.h"
#include "platform/Messages.h"
#include "render/Scene.h"

#include <GL/gl.h>
#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point processStart = Clock::now();

std::string mode;
std::string modelPath;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct PathChoice {
    const char* name;
    ViewOptions options;
};

void MeasurePaths(MainFrame& frame)
{
    const ShellState& state = TheShellState();
    long long faces = 0;
    if (state.currentModel)
        for (const MeshRecord& mesh : state.currentModel->model.meshes) faces += mesh.faceCount();
    std::printf("model: %s, %lld triangles\n", modelPath.c_str(), faces);

    ViewOptions immediate;
    immediate.useBufferObjects = false;
    ViewOptions displayList = immediate;
    displayList.useDisplayList = true;
    ViewOptions indexedArrays = immediate;
    indexedArrays.useIndexedArrays = true;
    const ViewOptions bufferObjects;
    const PathChoice paths[] = {{"immediate mode", immediate},
                                {"display list", displayList},
                                {"indexed arrays", indexedArrays},
                                {"buffer objects", bufferObjects}};
    for (const PathChoice& path : paths) {
        TheViewOptions() = path.options;
        for (int warmUp = 0; warmUp < 3; ++warmUp) frame.DrawFrame();
        glFinish();
        int frames = 0;
        const Clock::time_point start = Clock::now();
        while (frames < 20 || (SecondsSince(start) < 3.0 && frames < 2000)) {
            frame.DrawFrame();
            ++frames;
        }
        glFinish();
        const double seconds = SecondsSince(start);
        std::printf("%-15s %8.2f frames per second (%d frames in %.2f s)\n", path.name, frames / seconds, frames,
                    seconds);
    }
}

// Draws the first frame or measures the paths, then closes the window.
void RunBench(MainFrame& frame)
{
    if (mode == "first-frame") {
        frame.DrawFrame();
        glFinish();
        std::printf("first frame of %s after %.3f s\n", modelPath.c_str(), SecondsSince(processStart));
    } else {
        MeasurePaths(frame);
    }
    frame.Close();
}

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        platform::SetMessageSink(&console_);
        const wxGLAttributes attributes = ViewerGlAttributes();
        if (!wxGLCanvas::IsDisplaySupported(attributes)) {
            std::fprintf(stderr, "no suitable OpenGL visual\n");
            return false;
        }
        auto* frame = new MainFrame(TheShellState(), TheViewOptions(), attributes);  // the toolkit deletes it
        frame->Show();
        ViewerCommandLine commandLine;
        commandLine.modelPath = modelPath;
        // Once the canvas is on screen and the model loaded.
        frame->Start(commandLine, {.started = [frame] { frame->CallAfter([frame] { RunBench(*frame); }); },
                                   .noContext = [] { std::fprintf(stderr, "no OpenGL context\n"); }});
        return true;
    }

private:
    platform::ConsoleMessageSink console_;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "grid") {
        const int quads = std::atoi(argv[3]);
        if (quads <= 0 || !WriteGridModel(argv[2], quads)) return 1;
        return 0;
    }
    if (argc != 3 || (std::string(argv[1]) != "first-frame" && std::string(argv[1]) != "paths")) {
        std::fprintf(stderr, "usage: %s first-frame|paths MODEL | grid FILE QUADS\n", argv[0]);
        return 2;
    }
    mode = argv[1];
    modelPath = argv[2];
    platform::NullTraceSink quiet;
    platform::SetTraceSink(&quiet);
    char* toolkitArgv[] = {argv[0], nullptr};
    int toolkitArgc = 1;
    return wxEntry(toolkitArgc, toolkitArgv);
}
