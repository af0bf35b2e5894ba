// Frame time of a room of 130 small meshes against the same triangles merged
// into one mesh, offscreen, on each draw path: what drawing costs per mesh
// beyond its triangles. The buffer-object path carries the target.
#include "RoomModel.h"
#include "TorusGrid.h"

#include "platform/HeadlessContext.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"

#include <GL/gl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string_view>

namespace {

constexpr float kYaw = 30, kPitch = 35;
constexpr int kFrames = 40;
constexpr double kTargetRatio = 2.0;

ViewOptions PathOptions(DrawPath path)
{
    ViewOptions options;
    SelectPath(options, path);
    return options;
}

// Milliseconds of processor time the calling thread has used: what sending
// the frame costs, without the driver's drawing threads.
double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return 1e3 * static_cast<double>(now.tv_sec) + 1e-6 * static_cast<double>(now.tv_nsec);
}

// The calling thread's processor time of the last FrameTime, per frame.
double sendingMilliseconds = 0;

// Average milliseconds per frame, after one frame to warm up; a null model
// gives the cost of an empty frame.
double FrameTime(const LoadedModel* loaded, DrawPath path)
{
    const ViewOptions options = PathOptions(path);
    auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(loaded, options, kPitch, kYaw);
        glFinish();
    };
    frame();
    const double start = ThreadMilliseconds();
    const double wall = render_bench::Milliseconds([&] {
        for (int i = 0; i < kFrames; ++i) frame();
    });
    sendingMilliseconds = (ThreadMilliseconds() - start) / kFrames;
    return wall / kFrames;
}

}  // namespace

// With "profile room" or "profile merged": that model only, along buffer
// objects, for a fixed number of frames and without timing, for a profiler
// (perf stat, valgrind --tool=callgrind) to count.
int main(int argc, char** argv)
{
    const bool profile = argc == 3 && std::string_view(argv[1]) == "profile";
    platform::HeadlessContext context(640, 480);
    if (!context.Ok()) {
        std::fprintf(stderr, "no offscreen context: %s\n", context.Error().c_str());
        return 1;
    }
    InitGL(640, 480);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelmora-room-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    double ratio = 0;
    {
        LoadedModel room, merged;
        render_bench::FillRoom(room.model, folder, false);
        render_bench::FillRoom(merged.model, folder, true);
        PrepareLoadedModel(room);
        PrepareLoadedModel(merged);
        if (!room.render.buffersReady || !merged.render.buffersReady) {
            std::fprintf(stderr, "no buffer objects\n");
            return 1;
        }
        if (profile) {
            const LoadedModel& chosen = std::string_view(argv[2]) == "merged" ? merged : room;
            for (int i = 0; i < 5; ++i) FrameTime(&chosen, DrawPath::BufferObjects);
            std::filesystem::remove_all(folder);
            return 0;
        }

        constexpr DrawPath kPaths[] = {DrawPath::BufferObjects, DrawPath::IndexedArrays, DrawPath::DisplayList,
                                       DrawPath::Immediate};
        constexpr const char* kNames[] = {"DrawBufferObjects", "DrawIndexedArrays", "DrawDisplayList", "DrawImmediate"};
        constexpr std::size_t kRows = std::size(kPaths);
        double roomBest[kRows], mergedBest[kRows], roomSending[kRows], mergedSending[kRows], empty = 1e30;
        for (double* best : {roomBest, mergedBest, roomSending, mergedSending}) std::fill(best, best + kRows, 1e30);
        // Best of three rounds, the rows taking turns, so that a busy moment
        // of the machine does not weigh on one row alone.
        for (int round = 0; round < 3; ++round) {
            empty = std::min(empty, FrameTime(nullptr, DrawPath::BufferObjects));
            for (std::size_t r = 0; r < kRows; ++r) {
                roomBest[r] = std::min(roomBest[r], FrameTime(&room, kPaths[r]));
                roomSending[r] = std::min(roomSending[r], sendingMilliseconds);
                mergedBest[r] = std::min(mergedBest[r], FrameTime(&merged, kPaths[r]));
                mergedSending[r] = std::min(mergedSending[r], sendingMilliseconds);
            }
        }
        std::printf("room: %d meshes x %d triangles, 640x480 offscreen (%s)\n", render_bench::kRoomMeshes,
                    render_bench::kTrianglesPerCrate, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        std::printf("empty frame (clear only): %.3f ms\n", empty);
        std::printf("%-20s %10s %10s %7s %15s   %s\n", "path", "room ms", "merged ms", "ratio", "extra per mesh",
                    "sending (this thread's CPU): room, merged ms");
        for (std::size_t r = 0; r < kRows; ++r)
            std::printf("%-20s %10.3f %10.3f %6.2fx %12.1f us   %.3f, %.3f\n", kNames[r], roomBest[r], mergedBest[r],
                        roomBest[r] / mergedBest[r], 1000 * (roomBest[r] - mergedBest[r]) / render_bench::kRoomMeshes,
                        roomSending[r], mergedSending[r]);
        ratio = roomBest[0] / mergedBest[0];
    }
    std::filesystem::remove_all(folder);
    std::printf("room frame / merged frame along buffer objects: %.2fx (target <= %.0fx): %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "MISSED");
    return 0;
}
