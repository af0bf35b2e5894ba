// Peak memory of loading the largest textures a context accepts, through the
// readers' own path (read, decode, upload into a headless Mesa context). Each
// file is loaded by a fresh process of this program, so every peak is its own.
//   texture_memory_bench                 makes the files and measures them all, and
//                                        small files claiming the largest size
//   texture_memory_bench --make FOLDER   only writes the files into FOLDER
//   texture_memory_bench --load FILE...  loads each file once, printing its figures
#include "BenchFiles.h"
#include "ChildRun.h"
#include "LargeImageFiles.h"
#include "TestImages.h"
#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "texture/LoadTexture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace test_images;

namespace {

constexpr std::uint32_t kSide = 16384;
constexpr double kMiB = 1024.0 * 1024.0;
// Decoded as RGBA, the largest texture is 1 GiB; loading it may cost 2.5 times that.
constexpr double kDecodedRgbaMiB = double(kSide) * kSide * 4 / kMiB;
constexpr double kMaxPeakRatio = 2.5;
// A refused file may cost this much above the context alone.
constexpr double kMaxRefusalMiB = 64;

class Quiet : public platform::MessageSink {
public:
    void Show(std::string_view, std::string_view, platform::MessageKind) override {}
};

// Child side: one line per file, "<peak KiB> <KiB before> <ms> <0|1 loaded>".
int LoadEach(int count, char** paths)
{
    platform::HeadlessContext context(64, 64);
    if (!context.Ok()) {
        std::fprintf(stderr, "no OpenGL context: %s\n", context.Error().c_str());
        return 2;
    }
    platform::NullTraceSink traces;
    const platform::ScopedTraceSink traceScope(traces);
    Quiet quiet;  // refusals are expected
    const platform::ScopedMessageSink messageScope(quiet);
    for (int i = 0; i < count; ++i) {
        std::ofstream("/proc/self/clear_refs") << "5";  // each file's peak its own
        const long before = StatusKilobytes("VmHWM");
        const auto start = std::chrono::steady_clock::now();
        LoadTexture texture;
        const bool loaded = texture.DoLoadTexture(paths[i]) == S_OK;
        glFinish();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%ld %ld %.0f %d\n", StatusKilobytes("VmHWM"), before, ms, loaded ? 1 : 0);
        std::fflush(stdout);
    }
    return 0;
}

struct Figures {
    double peakMiB = 0;
    double contextMiB = 0;
    double ms = 0;
    bool loaded = false;
    bool ok = false;  // the child ran and answered
};

// Loads `path` in a process of its own.
Figures MeasureInChild(const std::string& path)
{
    Figures figures;
    const ChildRun child = RunSelf({"--load", path});
    long peak = 0, context = 0, loaded = 0;
    figures.ok = child.exitedCleanly &&
                 std::sscanf(child.output.c_str(), "%ld %ld %lf %ld", &peak, &context, &figures.ms, &loaded) == 4;
    figures.peakMiB = peak / 1024.0;
    figures.contextMiB = context / 1024.0;
    figures.loaded = loaded != 0;
    return figures;
}

void Require(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "benchmark setup failed: %s\n", what);
    std::exit(2);
}

void MakeLargeFiles(const fs::path& folder)
{
    std::printf("Making %u x %u files...\n", kSide, kSide);
    Require(large_images::WriteBmp((folder / "large.bmp").string(), kSide, kSide), "BMP");
    Require(large_images::WriteRunLengthBmp((folder / "large-rle8.bmp").string(), kSide, kSide), "RLE BMP");
    Require(large_images::WriteJpeg((folder / "large.jpg").string(), kSide, kSide, 90), "JPEG");
    Require(large_images::WritePng((folder / "large.png").string(), kSide, kSide), "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--load") return LoadEach(argc - 2, argv + 2);
    if (argc == 3 && std::string(argv[1]) == "--make") {
        MakeLargeFiles(argv[2]);
        return 0;
    }

    const fs::path folder = fs::temp_directory_path() / ("pelmora-memory-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const auto in = [&](const char* name) { return (folder / name).string(); };

    MakeLargeFiles(folder);

    bool allMet = true;
    std::printf("Valid %u x %u images, decoded RGBA %.0f MiB; target: peak <= %.1f x that = %.0f MiB\n", kSide, kSide,
                kDecodedRgbaMiB, kMaxPeakRatio, kMaxPeakRatio * kDecodedRgbaMiB);
    for (const auto& [format, name] : {std::pair{"BMP", "large.bmp"}, {"RLE8", "large-rle8.bmp"},
                                       {"JPEG", "large.jpg"}, {"PNG", "large.png"}}) {
        const Figures figures = MeasureInChild(in(name));
        const bool met = figures.ok && figures.loaded && figures.peakMiB <= kMaxPeakRatio * kDecodedRgbaMiB;
        allMet &= met;
        std::printf("%-5s %8.1f MB file  load %7.0f ms  peak %7.0f MiB (context alone %4.0f MiB)  %s\n", format,
                    static_cast<double>(fs::file_size(in(name))) / 1e6, figures.ms, figures.peakMiB,
                    figures.contextMiB, met ? "ok" : figures.loaded ? "MISSED" : "NOT LOADED");
    }

    // Small files whose headers claim the largest size and whose data ends at once.
    const Picture picture = Noise(64, 64, 3);
    const std::string claimed = JpegClaiming(Jpeg(picture, JpegKind::Colour), kSide, kSide);
    const std::pair<const char*, std::string> claims[] = {
        {"JPEG, a marker after a few bytes of scan", WriteBytes(folder, "eoi.jpg", JpegCutInScan(claimed, 40, true))},
        {"JPEG, cut after a few bytes of scan", WriteBytes(folder, "cut.jpg", JpegCutInScan(claimed, 40, false))},
        {"PNG whose data inflates to 100 bytes", WriteBytes(folder, "tiny.png", PngClaiming(kSide, kSide, 100))},
    };
    std::printf("Files of a few hundred bytes claiming %u x %u; target: refused, peak <= context + %.0f MiB\n", kSide,
                kSide, kMaxRefusalMiB);
    for (const auto& [what, path] : claims) {
        const Figures figures = MeasureInChild(path);
        const bool met = figures.ok && !figures.loaded && figures.peakMiB - figures.contextMiB <= kMaxRefusalMiB;
        allMet &= met;
        std::printf("%-40s %4ju bytes  load %5.0f ms  peak %5.0f MiB  %s\n", what,
                    static_cast<std::uintmax_t>(fs::file_size(path)), figures.ms, figures.peakMiB,
                    met ? "ok" : figures.loaded ? "LOADED" : "MISSED");
    }
    fs::remove_all(folder);
    return allMet ? 0 : 1;
}
