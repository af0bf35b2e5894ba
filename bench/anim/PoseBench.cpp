// The cost of one frame of an animated, skinned model: the set's matrices at
// the frame's time, the skinned vertices and normals, and the upload into
// the buffer objects; how it grows with vertices and bones; real models of
// the corpus; and the frame rate of the buffer path playing against still.
#include "SkinnedCharacter.h"
#include "Stopwatch.h"

#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kFrameSeconds = 1.0 / 60;
constexpr double kTargetMilliseconds = 10;  // for 100,000 skinned vertices
constexpr double kTargetFrameRateRatio = 0.8;

using bench_support::Milliseconds;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct PoseCost {
    double total = 0;  // pose and upload, milliseconds a frame
    double pose = 0;   // of which the pose: matrices, skinning, boxes
};

// Median over `frames` frames of a set playing along the buffer path.
PoseCost CostOfPlaying(LoadedModel& loaded, int frames)
{
    std::vector<double> totals, poses;
    double seconds = 0;
    for (int frame = 0; frame < frames; ++frame) {
        seconds += kFrameSeconds;
        const PoseChoice pose{true, 0, seconds};
        poses.push_back(Milliseconds([&] { loaded.render.PoseMeshes(loaded.model, pose); }));
        totals.push_back(poses.back() + Milliseconds([&] {
                             loaded.ShowPose(pose, DrawPath::BufferObjects);
                             glFinish();
                         }));
    }
    return {Median(totals), Median(poses)};
}

PoseCost CharacterCost(int vertices, int bones)
{
    LoadedModel loaded;
    anim_bench::FillSkinnedCharacter(loaded.model, vertices, bones);
    PrepareLoadedModel(loaded, PoseChoice{true});
    return CostOfPlaying(loaded, 60);
}

struct FrameRates {
    double playing = 0;  // frames per second, the set playing
    double drawn = 0;    // the same frames without their pose and upload: as if each pose stood still
};

// Frames along the buffer path of `loaded`, fitted, 640x480: the set playing
// from its start, or (`playing` false) the model standing in its first pose.
FrameRates FramesPerSecond(LoadedModel& loaded, bool playing, int frames)
{
    const std::optional<FittedView> view = FitView(loaded, 640, 480);
    if (view) SetPerspective(640, 480, view->frame, view->distance);
    AimCamera(view ? view->distance : kStartCameraDistance);
    ViewOptions options;
    double seconds = 0, posing = 0;
    loaded.ShowPose({true, 0, 0}, DrawPath::BufferObjects);
    const double elapsed = Milliseconds([&] {
        for (int frame = 0; frame < frames; ++frame) {
            if (playing) seconds += kFrameSeconds;
            posing += Milliseconds([&] { loaded.ShowPose({true, 0, seconds}, DrawPath::BufferObjects); });
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            DrawModelScene(&loaded, options, 15, 30, view ? view->frame.centre : Vector3{});
            glFinish();
        }
    });
    return {frames / (elapsed / 1000), frames / ((elapsed - posing) / 1000)};
}

}  // namespace

int main()
{
    platform::HeadlessContext context(640, 480);
    if (!context.Ok()) {
        std::fprintf(stderr, "no offscreen context: %s\n", context.Error().c_str());
        return 1;
    }
    platform::NullTraceSink traces;
    const platform::ScopedTraceSink traceScope(traces);
    InitGL(640, 480);
    bool allMet = true;
    std::printf("pose of one frame (set matrices, skinning, boxes) and upload into the buffer objects, "
                "4 bones a vertex, median of 60 frames\n");

    std::printf("-- vertices, 50 bones\n");
    std::vector<std::pair<int, double>> byVertices;
    for (const int vertices : {25'000, 50'000, 100'000, 200'000}) {
        const PoseCost cost = CharacterCost(vertices, 50);
        byVertices.push_back({vertices, cost.total});
        std::printf("%7d vertices  %7.2f ms  (pose %6.2f ms, upload %6.2f ms)  %5.1f ns/vertex\n", vertices, cost.total,
                    cost.pose, cost.total - cost.pose, cost.total * 1e6 / vertices);
    }
    const double atTarget = byVertices[2].second;
    const bool fast = atTarget <= kTargetMilliseconds;
    std::printf("100,000 skinned vertices: %.2f ms a frame (target <= %.0f ms): %s\n", atTarget, kTargetMilliseconds,
                fast ? "met" : "MISSED");
    allMet = allMet && fast;

    std::printf("-- bones, 100,000 vertices\n");
    std::vector<std::pair<int, double>> byBones;
    for (const int bones : {13, 25, 50, 100}) {
        const PoseCost cost = CharacterCost(100'000, bones);
        byBones.push_back({bones, cost.total});
        std::printf("%4d bones  %7.2f ms  (pose %6.2f ms)\n", bones, cost.total, cost.pose);
    }
    // Linear: doubling what is posed at most doubles the time (with a margin for noise).
    auto linear = [](const std::vector<std::pair<int, double>>& rows) {
        for (std::size_t k = 1; k < rows.size(); ++k)
            if (rows[k].second > 1.25 * rows[k - 1].second * rows[k].first / rows[k - 1].first) return false;
        return true;
    };
    const bool linearInVertices = linear(byVertices), linearInBones = linear(byBones);
    std::printf("time linear in vertices: %s; in bones: %s\n", linearInVertices ? "met" : "MISSED",
                linearInBones ? "met" : "MISSED");
    allMet = allMet && linearInVertices && linearInBones;

    std::printf("-- corpus models, buffer path, 640x480, fitted\n");
    for (const char* name : {"assimp/BCN_Epileptic.X", "assimp/Testwuson.X", "minetest_game/character.x"}) {
        LoadedModel loaded;
        platform::RecordingMessageSink messages;
        const platform::ScopedMessageSink messageScope(messages);
        if (loaded.Load(std::string(PELMORA_CORPUS_DIR) + "/" + name, PoseChoice{true}) != S_OK) {
            std::fprintf(stderr, "cannot load %s\n", name);
            allMet = false;
            continue;
        }
        int vertices = 0;
        for (const MeshRecord& mesh : loaded.model.meshes) vertices += mesh.vertexCount();
        const PoseCost cost = CostOfPlaying(loaded, 200);
        // Best of three rounds each, taking turns. How fast a frame is drawn
        // depends on the pose (the pixels it covers): the target compares
        // the playing frames with the same frames drawn without posing them.
        FrameRates still, playing;
        for (int round = 0; round < 3; ++round) {
            const FrameRates s = FramesPerSecond(loaded, false, 300), p = FramesPerSecond(loaded, true, 300);
            still.playing = std::max(still.playing, s.playing);
            if (p.playing > playing.playing) playing = p;
        }
        const double ratio = playing.playing / playing.drawn;
        const bool kept = ratio >= kTargetFrameRateRatio;
        allMet = allMet && kept;
        std::printf("%-28s %6d vertices  pose %.3f ms + upload %.3f ms\n", name, vertices, cost.pose, cost.total - cost.pose);
        std::printf("%-28s %6.0f fps playing, %6.0f for the same poses still: %.2fx (target >= %.1fx): %s; "
                    "%6.0f fps standing in its first pose\n",
                    "", playing.playing, playing.drawn, ratio, kTargetFrameRateRatio, kept ? "met" : "MISSED",
                    still.playing);
    }
    return allMet ? 0 : 1;
}
