// Reads one large generated ".x" file, in each of its forms (text, binary,
// compressed binary), with Pelmora's reader and with the Open Asset Import
// Library, each side in a process of its own, and prints the throughput and
// the peak resident memory above the process's baseline.
//
// Pelmora's reads are timed on every core, then on one thread and each
// doubling up to every core, in turn three times, to show how they scale.
//
//   model_read_bench [cells] [repetitions] [--threads N]   (default 1000 cells:
//                                               1,002,001 vertices, 1,000,000
//                                               quads; every core)
//   model_read_bench --write FOLDER [cells]     writes the three files and keeps them
//   model_read_bench --side pelmora|assimp|anylayout FILE REPETITIONS [THREADS]   one side, one file
//
// The reader of text in any layout (model/anylayout, one core) reads the
// text file and the same grid written on one line.
#include "BenchFiles.h"
#include "ChildRun.h"
#include "GridModel.h"

#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "model/anylayout/AnyLayoutModel.h"
#include "model/binary/Mszip.h"
#include "model/file/ModelFile.h"
#include "platform/Messages.h"
#include "platform/ParallelFor.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Turns of the thread counts taken for the scaling figures.
constexpr int kScalingRounds = 3;

double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reads the file `repetitions` times and prints "wall_s cpu_s peak_kB count":
// the best times, the peak of the first read; `count` (vertices read) shows both sides read the file.
int RunSide(const std::string& side, const std::string& path, int repetitions)
{
    const long baseline = StatusKilobytes("VmRSS");
    double bestWall = 1e30, bestCpu = 1e30;
    long vertices = 0;
    long firstPeak = 0;
    for (int k = 0; k < repetitions; ++k) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds();
        auto stop = [&] {
            bestWall = std::min(bestWall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            bestCpu = std::min(bestCpu, CpuSeconds() - cpuStart);
        };
        if (side == "anylayout") {
            std::ifstream in(path, std::ios::binary);
            xfile::FileBytes bytes(std::filesystem::file_size(path));
            in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            std::string error;
            const std::optional<Model> model = ReadAnyLayoutText(path, bytes, error);
            if (!model) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            stop();
            vertices = 0;
            for (const auto& mesh : model->meshes) vertices += mesh.vertexCount();
        } else if (side == "pelmora") {
            platform::NullTraceSink quiet;
            platform::ScopedTraceSink scope(quiet);
            const ModelOrError model = ReadModelFile(path);
            if (!model) return 1;
            stop();
            vertices = 0;
            for (const auto& mesh : model->meshes) vertices += mesh.vertexCount();
        } else {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(path, 0);
            if (!scene) return 1;
            stop();
            vertices = 0;
            for (unsigned m = 0; m < scene->mNumMeshes; ++m) vertices += scene->mMeshes[m]->mNumVertices;
        }
        // The peak of one read, as a program that loads the file once sees it;
        // later rounds only refine the time.
        if (k == 0) firstPeak = StatusKilobytes("VmHWM") - baseline;
    }
    std::printf("%.6f %.6f %ld %ld\n", bestWall, bestCpu, firstPeak, vertices);
    return 0;
}

struct SideResult {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
    long vertices = 0;
};

bool Measure(const std::string& side, const std::string& path, int repetitions, unsigned threads, SideResult& result)
{
    const ChildRun child = RunSelf({"--side", side, path, std::to_string(repetitions), std::to_string(threads)});
    return child.exitedCleanly && std::sscanf(child.output.c_str(), "%lf %lf %ld %ld", &result.seconds, &result.cpuSeconds,
                                              &result.peakKilobytes, &result.vertices) == 4;
}

// The binary and compressed binary twins of a text file.
bool WriteTwins(const std::string& text, const std::string& binary, const std::string& compressed)
{
    std::ifstream in(text, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    xfile::Document document;
    std::string error;
    if (!xfile::ReadTextObjectsAnyLayout(bytes, document, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    const std::vector<std::uint8_t> written = xfile::WriteBinary(document, 4);
    std::ofstream(binary, std::ios::binary).write(reinterpret_cast<const char*>(written.data()),
                                                   static_cast<std::streamsize>(written.size()));
    const std::vector<std::uint8_t> packed = xfile::CompressMszip(written);
    std::ofstream(compressed, std::ios::binary).write(reinterpret_cast<const char*>(packed.data()),
                                                       static_cast<std::streamsize>(packed.size()));
    return !written.empty() && !packed.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    if ((argc == 5 || argc == 6) && std::string(argv[1]) == "--side") {
        if (argc == 6) platform::SetParallelThreadCount(static_cast<unsigned>(std::max(1, std::atoi(argv[5]))));
        return RunSide(argv[2], argv[3], std::atoi(argv[4]));
    }
    // For a profiler: the three files, kept in FOLDER.
    if (argc >= 3 && std::string(argv[1]) == "--write") {
        const std::filesystem::path kept(argv[2]);
        std::filesystem::create_directories(kept);
        WriteGridModel((kept / "grid.x").string(), argc > 3 ? std::atoi(argv[3]) : 1000);
        WriteGridModel((kept / "grid_oneline.x").string(), argc > 3 ? std::atoi(argv[3]) : 1000, GridLayout::OneLine);
        return WriteTwins((kept / "grid.x").string(), (kept / "grid_bin.x").string(), (kept / "grid_bzip.x").string()) ? 0 : 1;
    }

    unsigned threads = platform::ParallelThreadCount();
    std::vector<std::string> positional;
    for (int k = 1; k < argc; ++k) {
        if (std::string(argv[k]) == "--threads" && k + 1 < argc)
            threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++k])));
        else
            positional.emplace_back(argv[k]);
    }
    const int cells = positional.size() > 0 ? std::atoi(positional[0].c_str()) : 1000;
    const int repetitions = positional.size() > 1 ? std::atoi(positional[1].c_str()) : 5;
    const auto folder = std::filesystem::temp_directory_path() / ("pelmora-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string text = (folder / "grid.x").string();
    const std::string binary = (folder / "grid_bin.x").string();
    const std::string compressed = (folder / "grid_bzip.x").string();
    WriteGridModel(text, cells);
    if (!WriteTwins(text, binary, compressed)) return 1;
    std::printf("grid of %d x %d cells: %ld vertices, %ld quads\n", cells, cells,
                static_cast<long>(cells + 1) * (cells + 1), static_cast<long>(cells) * cells);

    bool allMet = true;
    for (const auto& [form, path] : {std::pair{"text", text}, {"binary", binary}, {"compressed binary", compressed}}) {
        const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
        SideResult ours, peer;
        if (!Measure("pelmora", path, repetitions, threads, ours) ||
            !Measure("assimp", path, repetitions, 1, peer)) {
            std::fprintf(stderr, "a side failed to read the %s file\n", form);
            allMet = false;
            continue;
        }
        std::printf("-- %s, %.1f MB\n", form, megabytes);
        auto show = [&](const char* name, const SideResult& r) {
            std::printf("%-8s wall %6.3f s (%6.1f MB/s)  cpu %6.3f s (%6.1f MB/s)  peak %6.1f MB above baseline "
                        "(%.2fx file)  %ld vertices\n",
                        name, r.seconds, megabytes / r.seconds, r.cpuSeconds, megabytes / r.cpuSeconds,
                        r.peakKilobytes * 1.024 / 1000.0, r.peakKilobytes * 1.024 / 1000.0 / megabytes, r.vertices);
        };
        show("pelmora", ours);
        show("assimp", peer);
        // How our read scales: one thread, then each doubling up to `threads`,
        // measured in turn a few times and the best of each kept, so that a
        // slow moment of the machine weighs on no count more than on another.
        std::vector<unsigned> counts;
        for (unsigned count = 1; count < threads; count *= 2) counts.push_back(count);
        counts.push_back(threads);
        std::vector<std::optional<SideResult>> scaled(counts.size());
        for (int round = 0; round < kScalingRounds && threads > 1; ++round)
            for (std::size_t k = 0; k < counts.size(); ++k) {
                SideResult result;
                if (Measure("pelmora", path, repetitions, counts[k], result) &&
                    (!scaled[k] || result.seconds < scaled[k]->seconds))
                    scaled[k] = result;
            }
        for (std::size_t k = 0; k < counts.size(); ++k)
            if (scaled[k]) show(("  " + std::to_string(counts[k]) + " thr").c_str(), *scaled[k]);
        const double scaling = scaled.front() && scaled.back() ? scaled.front()->seconds / scaled.back()->seconds : 1.0;
        std::printf("pelmora on %u threads: %.2fx its one-thread speed\n", threads, scaling);

        const bool isText = std::string(form) == "text";
        const bool isCompressed = std::string(form) == "compressed binary";
        const double speedup = peer.seconds / ours.seconds;
        const double cpuSpeedup = peer.cpuSeconds / ours.cpuSeconds;
        // A compressed file is measured against the bytes it inflates to: the
        // data it holds, which the read has to hold once.
        const double heldMegabytes =
            isCompressed ? static_cast<double>(std::filesystem::file_size(binary)) / 1e6 : megabytes;
        const double memoryRatio = ours.peakKilobytes * 1.024 / 1000.0 / heldMegabytes;
        // A compressed file inflates on one core while its objects are read on another.
        const double wanted = isCompressed ? 4.0 : 3.0;
        const bool fast = speedup >= wanted;
        allMet = allMet && fast;
        std::printf("throughput %.2fx the peer by wall time, %.2fx by CPU time (target >= %.0fx by wall time): %s\n",
                    speedup, cpuSpeedup, wanted, fast ? "met" : "MISSED");
        if (isText) {
            // The best of every read on all the threads, as for the scaling.
            const double bestSeconds = scaled.back() ? std::min(ours.seconds, scaled.back()->seconds) : ours.seconds;
            const double gigabytesPerSecond = megabytes / 1000.0 / bestSeconds;
            const bool memorySpeed = gigabytesPerSecond >= 0.9;
            allMet = allMet && memorySpeed;
            std::printf("text read on %u threads: %.2f GB/s (target >= 0.9 GB/s): %s\n", threads, gigabytesPerSecond,
                        memorySpeed ? "met" : "MISSED");
            if (threads >= 2) {
                allMet = allMet && scaling >= 1.8;
                std::printf("text read on %u threads: %.2fx the one-thread speed (target >= 1.8x): %s\n", threads,
                            scaling, scaling >= 1.8 ? "met" : "MISSED");
            }
        }
        std::printf("peak memory %.2fx %s (target <= 2x): %s\n", memoryRatio,
                    isCompressed ? "the bytes it inflates to" : "the file", memoryRatio <= 2.0 ? "met" : "MISSED");
    }

    // The reader of any layout, on one core, the file read included.
    const std::string oneLine = (folder / "grid_oneline.x").string();
    WriteGridModel(oneLine, cells, GridLayout::OneLine);
    for (const auto& [layout, path] : {std::pair{"one element per line", text}, {"all on one line", oneLine}}) {
        const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
        SideResult any;
        if (!Measure("anylayout", path, repetitions, 1, any)) {
            std::fprintf(stderr, "the reader of any layout failed to read the grid %s\n", layout);
            allMet = false;
            continue;
        }
        const double gigabytesPerSecond = megabytes / 1000.0 / any.seconds;
        const bool met = gigabytesPerSecond >= 0.5;
        allMet = allMet && met;
        std::printf("-- any layout, %s, %.1f MB\n", layout, megabytes);
        std::printf("anylayout wall %6.3f s (%6.1f MB/s)  cpu %6.3f s (%6.1f MB/s)  peak %6.1f MB above baseline "
                    "(%.2fx file)  %ld vertices\n",
                    any.seconds, megabytes / any.seconds, any.cpuSeconds, megabytes / any.cpuSeconds,
                    any.peakKilobytes * 1.024 / 1000.0, any.peakKilobytes * 1.024 / 1000.0 / megabytes, any.vertices);
        std::printf("any-layout read on one thread: %.2f GB/s (target >= 0.5 GB/s): %s\n", gigabytesPerSecond,
                    met ? "met" : "MISSED");
    }
    std::filesystem::remove_all(folder);
    return allMet ? 0 : 1;
}
