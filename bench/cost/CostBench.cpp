// What loading costs on files built to make a careless reader slow or
// greedy. Each load runs in a process of its own (a headless OpenGL context,
// the viewer's whole load), so that its peak memory is its own.
//
//   cost_bench [families|table]     (default: both)
//
// families: n meshes, n counted words and n references for n = 10,000,
//   100,000 and 1,000,000; the load time per item should stay flat (never
//   rising more than 2x as n grows), and the 100,000 meshes load in under 3 s.
//   The glTF export of n meshes, and of n bones each skinning one mesh, is
//   timed alone after the load, and should stay as flat.
// table: the inputs that once froze the viewer or took gigabytes; each must
//   load or be refused in under 1 s and 300 MB.
#include "BenchFiles.h"
#include "ChildRun.h"
#include "CostInputs.h"

#include "gltf/GltfExport.h"
#include "model/file/ModelFile.h"
#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "render/LoadedModel.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class Quiet : public platform::MessageSink {
public:
    void Show(std::string_view, std::string_view, platform::MessageKind) override {}
};

// In the child: loads the file and prints the load's wall time.
int LoadOnce(const char* path)
{
    Quiet quiet;
    platform::NullTraceSink noTraces;
    platform::ScopedMessageSink messages(quiet);
    platform::ScopedTraceSink traces(noTraces);
    const platform::HeadlessContext context(16, 16);
    const auto start = std::chrono::steady_clock::now();
    LoadedModel loaded;
    const bool read = loaded.Load(path) == S_OK;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %d\n", seconds, read ? 1 : 0);
    std::fflush(stdout);
    std::quick_exit(0);  // the process's own teardown is not the load's cost
}

// In the child: reads and prepares the model, then prints the export's wall time.
int ExportOnce(const char* path)
{
    Quiet quiet;
    platform::NullTraceSink noTraces;
    platform::ScopedMessageSink messages(quiet);
    platform::ScopedTraceSink traces(noTraces);
    ModelOrError model = ReadModelFile(path);
    if (model) gltf_export::PrepareModel(*model);
    const auto start = std::chrono::steady_clock::now();
    const bool written = model && !gltf_export::ExportGlb(*model, {}).empty();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %d\n", seconds, written ? 1 : 0);
    std::fflush(stdout);
    std::quick_exit(0);
}

struct Run {
    double loadSeconds = 0;   // the load alone
    double processSeconds = 0;  // start to exit, context included
    double peakMegabytes = 0;
    bool loaded = false;
    bool ok = false;
};

Run Measure(const std::string& path, const char* mode = "--load")
{
    const ChildRun child = RunSelf({mode, path});
    Run run;
    run.processSeconds = child.seconds;
    run.peakMegabytes = static_cast<double>(child.peakKilobytes) / 1024.0;
    int loaded = 0;
    run.ok = child.exitedCleanly && std::sscanf(child.output.c_str(), "%lf %d", &run.loadSeconds, &loaded) == 2;
    run.loaded = loaded != 0;
    return run;
}

double MegabytesOf(const std::string& path) { return static_cast<double>(fs::file_size(path)) / 1e6; }

// Flat per item is not enough: a fixed cost that every step pays once a
// mesh (a system call, a large block) stays flat and still makes a file of
// many small meshes slow. This load has a time of its own.
constexpr int kTimedMeshes = 100'000;
constexpr double kTimedMeshesSeconds = 3.0;

bool Families(const fs::path& folder)
{
    struct Family {
        const char* name;
        std::string (*make)(int);
        bool timed;  // the load of kTimedMeshes items has a target of its own
        const char* mode = "--load";  // or "--export": the export timed instead of the load
        std::vector<int> sizes = {10'000, 100'000, 1'000'000};
    };
    const Family families[] = {{"meshes", cost_inputs::ManyMeshes, true},
                               {"counted words", cost_inputs::ManyMeshWords, false},
                               {"references", cost_inputs::ManyReferences, false},
                               // tinygltf holds about 10 KB for each mesh (its objects, then its
                               // JSON tree): a million meshes would measure the machine's memory.
                               {"export meshes", cost_inputs::ManyMeshes, false, "--export", {10'000, 30'000, 100'000}},
                               {"export bones", cost_inputs::ManyBones, false, "--export", {10'000, 30'000, 100'000}}};
    bool allMet = true;
    for (const Family& family : families) {
        std::vector<double> perItem;
        for (const int n : family.sizes) {
            const std::string path = WriteBytes(folder, "family.x", family.make(n));
            const Run run = Measure(path, family.mode);
            if (!run.ok) {
                std::printf("%-14s n=%-8d the load did not finish\n", family.name, n);
                return false;
            }
            perItem.push_back(run.loadSeconds / n * 1e6);
            std::printf("%-14s n=%-8d %7.1f MB  load %7.3f s  %6.2f us/item  peak %7.1f MB\n", family.name, n,
                        MegabytesOf(path), run.loadSeconds, perItem.back(), run.peakMegabytes);
            if (family.timed && n == kTimedMeshes) {
                const bool fast = run.loadSeconds < kTimedMeshesSeconds;
                allMet = allMet && fast;
                std::printf("%-14s n=%-8d load %.3f s (target < %.0f s): %s\n", family.name, n, run.loadSeconds,
                            kTimedMeshesSeconds, fast ? "met" : "MISSED");
            }
        }
        // Only a rise matters: at small n the fixed cost of a load makes the
        // time per item larger, not the reverse.
        double rise = 0;
        for (std::size_t later = 1; later < perItem.size(); ++later)
            rise = std::max(rise, perItem[later] / *std::min_element(perItem.begin(), perItem.begin() + later));
        const bool flat = rise <= 2.0;
        allMet = allMet && flat;
        std::printf("%-14s time per item rises at most %.2fx from %d to %d (target <= 2x): %s\n", family.name, rise,
                    family.sizes.front(), family.sizes.back(), flat ? "met" : "MISSED");
    }
    return allMet;
}

bool Table(const fs::path& folder)
{
    WriteBytes(folder, "claim.png", cost_inputs::PngClaimingSize(16384, 16384));
    WriteBytes(folder, "cut-end.jpg", cost_inputs::JpegCutShort(16384, 16384, true));
    WriteBytes(folder, "cut.jpg", cost_inputs::JpegCutShort(16384, 16384, false));
    WriteBytes(folder, "big.jpg", cost_inputs::NoisyJpeg(2048));
    struct Input {
        const char* what;
        std::string path;
    };
    const Input inputs[] = {
        {"100,000 meshes of one triangle", WriteBytes(folder, "meshes.x", cost_inputs::ManyMeshes(100'000))},
        {"1,000,000 \"Mesh\" lines, no block", WriteBytes(folder, "words.x", cost_inputs::ManyMeshWords(1'000'000))},
        {"50,000 shared materials referenced", WriteBytes(folder, "references.x", cost_inputs::ManyReferences(50'000))},
        {"PNG claiming 16384^2, 100 data bytes", WriteBytes(folder, "png.x", cost_inputs::MaterialsOnOneTexture(1, "claim.png"))},
        {"JPEG 16384^2 cut, end marker", WriteBytes(folder, "cut-end.x", cost_inputs::MaterialsOnOneTexture(1, "cut-end.jpg"))},
        {"JPEG 16384^2 cut, no end marker", WriteBytes(folder, "cut.x", cost_inputs::MaterialsOnOneTexture(1, "cut.jpg"))},
        {"300 materials on one 2048^2 JPEG", WriteBytes(folder, "shared.x", cost_inputs::MaterialsOnOneTexture(300, "big.jpg"))},
    };
    bool all = true;
    for (const Input& input : inputs) {
        const Run run = Measure(input.path);
        const bool met = run.ok && run.processSeconds < 1.0 && run.peakMegabytes < 300.0;
        all = all && met;
        std::printf("%-38s %8.3f MB  %-8s load %6.3f s  process %6.3f s  peak %7.1f MB: %s\n", input.what,
                    MegabytesOf(input.path), !run.ok ? "failed" : run.loaded ? "loaded" : "refused", run.loadSeconds,
                    run.processSeconds, run.peakMegabytes, met ? "met" : "MISSED");
    }
    std::printf("every input under 1 s and 300 MB: %s\n", all ? "met" : "MISSED");
    return all;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--load") return LoadOnce(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--export") return ExportOnce(argv[2]);
    const std::string which = argc > 1 ? argv[1] : "all";
    const fs::path folder = fs::temp_directory_path() / ("pelmora-cost-" + std::to_string(getpid()));
    fs::create_directories(folder);
    if (which == "all" || which == "families") Families(folder);
    if (which == "all" || which == "table") Table(folder);
    fs::remove_all(folder);
    return 0;
}
