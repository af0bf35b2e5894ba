// Converts one large generated ".x" text file to .glb with pelmora-convert
// and with the Open Asset Import Library (peer_convert), each run a whole
// process of its own, and prints each one's wall time and peak resident
// memory (the child's own, from wait4) with the two targets: Pelmora at
// least 10 times faster, with at most half the peer's peak.
//
//   convert_bench [cells] [repetitions]   (default 1000 cells: 1,002,001
//                                          vertices, 1,000,000 quads; 3 runs)
#include "BenchFiles.h"
#include "ChildRun.h"
#include "GridModel.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

constexpr double kWantedSpeedup = 10.0;
constexpr double kWantedMemoryRatio = 0.5;

// The 2x2 PNG the grid's material names, so that both sides meet its texture.
constexpr unsigned char kGroundPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xfd, 0xd4, 0x9a, 0x73, 0x00, 0x00, 0x00, 0x10, 0x49,
    0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x68, 0x48, 0x30, 0x00, 0x22, 0x06, 0x08, 0x05, 0x00, 0x1f, 0x0e, 0x04, 0x41,
    0xd5, 0x05, 0xe4, 0xcf, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

struct SideResult {
    double seconds = 1e30;     // the best run
    long peakKilobytes = 0;    // the largest peak of the runs
    std::uintmax_t bytes = 0;  // the .glb written
};

// Whether `path` holds a .glb: its magic and the length its header gives.
std::optional<std::uintmax_t> GlbSize(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[12] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || std::string(header, header + 4) != "glTF")
        return std::nullopt;
    const std::uintmax_t length = header[8] | (header[9] << 8) | (header[10] << 16) | (std::uintmax_t{header[11]} << 24);
    std::error_code error;
    if (std::filesystem::file_size(path, error) != length || error) return std::nullopt;
    return length;
}

std::optional<SideResult> Measure(const char* name, const std::string& program, const std::string& input,
                                  const std::filesystem::path& output, int repetitions)
{
    SideResult result;
    for (int k = 0; k < repetitions; ++k) {
        std::filesystem::remove(output);
        const ChildRun run = RunProgram(program, {input, output.string()});
        const std::optional<std::uintmax_t> bytes = GlbSize(output);
        if (!run.exitedCleanly || !bytes) {
            std::fprintf(stderr, "%s did not write a .glb (%s)\n", name,
                         run.exitedCleanly ? "the file is not one" : "it failed");
            return std::nullopt;
        }
        result.seconds = std::min(result.seconds, run.seconds);
        result.peakKilobytes = std::max(result.peakKilobytes, run.peakKilobytes);
        result.bytes = *bytes;
    }
    return result;
}

void Show(const char* name, const SideResult& side)
{
    std::printf("%-16s wall %7.3f s  peak %8.1f MB  .glb %7.1f MB\n", name, side.seconds,
                side.peakKilobytes * 1.024 / 1000.0, static_cast<double>(side.bytes) / 1e6);
}

}  // namespace

int main(int argc, char** argv)
{
    // Lines in order with the children's messages when the output is a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int cells = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const auto folder = std::filesystem::temp_directory_path() / ("pelmora-convert-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string input = (folder / "grid.x").string();
    WriteGridModel(input, cells);
    WriteBytes(folder, "ground.png", std::string(std::begin(kGroundPng), std::end(kGroundPng)));
    std::printf("grid of %d x %d cells: %ld vertices, %ld quads, %.1f MB of text; best of %d runs\n", cells, cells,
                static_cast<long>(cells + 1) * (cells + 1), static_cast<long>(cells) * cells,
                static_cast<double>(std::filesystem::file_size(input)) / 1e6, repetitions);

    const std::optional<SideResult> peer = Measure("peer_convert", PEER_CONVERT, input, folder / "peer.glb", repetitions);
    if (peer) Show("assimp (peer)", *peer);
    const std::string ours = PELMORA_CONVERT;
    std::optional<SideResult> pelmora;
    if (ours.empty())
        std::fprintf(stderr, "pelmora-convert is not built in this tree\n");
    else
        pelmora = Measure("pelmora-convert", ours, input, folder / "pelmora.glb", repetitions);
    if (pelmora) Show("pelmora-convert", *pelmora);
    std::filesystem::remove_all(folder);

    bool allMet = peer && pelmora;
    if (allMet) {
        const double speedup = peer->seconds / pelmora->seconds;
        const double memoryRatio = static_cast<double>(pelmora->peakKilobytes) / static_cast<double>(peer->peakKilobytes);
        allMet = speedup >= kWantedSpeedup && memoryRatio <= kWantedMemoryRatio;
        std::printf("whole conversion %.2fx the peer's speed (target >= %.0fx): %s\n", speedup, kWantedSpeedup,
                    speedup >= kWantedSpeedup ? "met" : "MISSED");
        std::printf("peak memory %.2fx the peer's (target <= %.1fx): %s\n", memoryRatio, kWantedMemoryRatio,
                    memoryRatio <= kWantedMemoryRatio ? "met" : "MISSED");
    } else {
        std::printf("whole conversion against the peer (target >= %.0fx its speed, <= %.1fx its peak): MISSED\n",
                    kWantedSpeedup, kWantedMemoryRatio);
    }
    return allMet ? 0 : 1;
}
