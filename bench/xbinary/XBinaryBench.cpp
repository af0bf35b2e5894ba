// Reads a large generated binary ".x" file, and its compressed twin, into
// data objects, and prints the time, the throughput and the peak resident
// memory against the file's size.
//
//   xbinary_read_bench write FOLDER [cells]     grid.x (binary, 32-bit floats) and
//                                               grid_bzip.x; default 1000 cells:
//                                               1,002,001 vertices, 1,000,000 quads
//   xbinary_read_bench read FILE [repetitions]  run it in a process of its own
#include "model/binary/BinaryObjects.h"
#include "model/binary/DocumentBuilder.h"
#include "model/binary/Mszip.h"
#include "model/binary/writer/BinaryWriter.h"
#include "model/binary/writer/MszipWriter.h"

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A field of /proc/self/status in kB.
long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    return -1;
}

// A flat grid as exporters write a mesh: vertices, four-cornered faces,
// texture coordinates and a one-material list.
xfile::Document Grid(std::uint32_t cells)
{
    const std::uint32_t side = cells + 1;
    const std::uint32_t vertices = side * side;
    const std::uint32_t faces = cells * cells;
    xfile::Document document;
    xfile::DocumentBuilder build(document);
    build.OpenObject("Frame", "Grid", std::nullopt);
    build.OpenObject("Mesh", "GridMesh", std::nullopt);
    build.AppendIntegers(1)[0] = vertices;
    auto positions = build.AppendFloats(3 * std::size_t{vertices});
    for (std::uint32_t v = 0; v < vertices; ++v) {
        positions[3 * v] = static_cast<float>(v % side) * 0.01f;
        positions[3 * v + 1] = std::sin(static_cast<float>(v) * 0.001f);
        positions[3 * v + 2] = static_cast<float>(v / side) * 0.01f;
    }
    auto corners = build.AppendIntegers(1 + 5 * std::size_t{faces});
    corners[0] = faces;
    for (std::uint32_t f = 0; f < faces; ++f) {
        const std::uint32_t corner = f / cells * side + f % cells;
        const std::uint32_t face[] = {4, corner, corner + side, corner + side + 1, corner + 1};
        std::copy(std::begin(face), std::end(face), corners.begin() + 1 + 5 * std::size_t{f});
    }
    build.OpenObject("MeshTextureCoords", "", std::nullopt);
    build.AppendIntegers(1)[0] = vertices;
    auto uv = build.AppendFloats(2 * std::size_t{vertices});
    for (std::uint32_t v = 0; v < vertices; ++v) {
        uv[2 * v] = static_cast<float>(v % side) / static_cast<float>(cells);
        uv[2 * v + 1] = static_cast<float>(v / side) / static_cast<float>(cells);
    }
    build.CloseObject();
    build.OpenObject("MeshMaterialList", "", std::nullopt);
    auto list = build.AppendIntegers(2 + std::size_t{faces});
    list[0] = 1;
    list[1] = faces;
    build.OpenObject("Material", "Grey", std::nullopt);
    const float colors[] = {0.5f, 0.5f, 0.5f, 1.0f, 8.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    std::ranges::copy(colors, build.AppendFloats(std::size(colors)).begin());
    build.AddString("grid.png");
    build.CloseObject();
    build.CloseObject();
    build.CloseObject();
    build.CloseObject();
    return document;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int Write(const std::filesystem::path& folder, std::uint32_t cells)
{
    std::filesystem::create_directories(folder);
    const Bytes binary = xfile::WriteBinary(Grid(cells), 4);
    WriteFile(folder / "grid.x", binary);
    const Bytes compressed = xfile::CompressMszip(binary, xfile::kMszipBlockBytes, 6);
    WriteFile(folder / "grid_bzip.x", compressed);
    std::printf("%s: %zu bytes\n%s: %zu bytes\n", (folder / "grid.x").c_str(), binary.size(),
                (folder / "grid_bzip.x").c_str(), compressed.size());
    return 0;
}

int Read(const std::string& path, int repetitions)
{
    const long baseline = StatusKilobytes("VmRSS");
    double best = 1e30, bestInflate = 0, bestParse = 0;
    std::size_t fileSize = 0, vertices = 0;
    for (int k = 0; k < repetitions; ++k) {
        const auto start = std::chrono::steady_clock::now();
        // Sized from the file, as the viewer reads it.
        Bytes file(std::filesystem::file_size(path));
        std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
        fileSize = file.size();
        std::string error;
        double inflateSeconds = 0;
        if (file.size() >= 12 && std::memcmp(file.data() + 8, "bzip", 4) == 0) {
            const auto inflateStart = std::chrono::steady_clock::now();
            Bytes inflated;
            if (!xfile::InflateMszip(file, inflated, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            file = std::move(inflated);
            inflateSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - inflateStart).count();
        }
        const auto parseStart = std::chrono::steady_clock::now();
        xfile::Document document;
        if (!xfile::ReadBinaryObjects(file, document, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < best) {
            best = seconds;
            bestInflate = inflateSeconds;
            bestParse = std::chrono::duration<double>(std::chrono::steady_clock::now() - parseStart).count();
        }
        vertices = document.integers.empty() ? 0 : document.integers[0];
    }
    const long peak = StatusKilobytes("VmHWM");
    std::printf("%s: %zu bytes, %zu vertices; best of %d: %.3f s (inflate %.3f s, objects %.3f s), %.0f MB/s of file; "
                "peak %.1f MiB above a %.1f MiB baseline (%.2f x the file)\n",
                path.c_str(), fileSize, vertices, repetitions, best, bestInflate, bestParse, static_cast<double>(fileSize) / best / 1e6,
                static_cast<double>(peak - baseline) / 1024.0, static_cast<double>(baseline) / 1024.0,
                static_cast<double>(peak - baseline) * 1024.0 / static_cast<double>(fileSize));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2], argc > 3 ? static_cast<std::uint32_t>(std::atoi(argv[3])) : 1000);
    if (argc >= 3 && std::strcmp(argv[1], "read") == 0) return Read(argv[2], argc > 3 ? std::atoi(argv[3]) : 3);
    std::fprintf(stderr, "usage: %s write FOLDER [cells] | read FILE [repetitions]\n", argv[0]);
    return 2;
}
