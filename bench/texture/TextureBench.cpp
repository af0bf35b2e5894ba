// Reading 2048 x 2048 textures of every format: our decoding (everything
// before the upload) against the library alone on the same file, and the
// upload on its own. Prints one line per format and whether it meets its target.
#include "BenchFiles.h"
#include "LibraryDecoders.h"
#include "TestImages.h"
#include "platform/BitmapLoader.h"
#include "platform/GlEntryPoints.h"
#include "platform/HeadlessContext.h"
#include "texture/Dds.h"
#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/Png.h"

#include <GL/glext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>
#include <unistd.h>

using namespace test_images;
namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 15;
constexpr std::uint32_t kSide = 2048;
constexpr double kMaxLibraryRatio = 1.2;
constexpr double kMinMegabytesPerSecond = 500;

using ImageDecoder = Decoded<TextureImage> (*)(std::span<const std::uint8_t>, const DecodeContext&);

// Median milliseconds of kRuns timed calls, after one untimed warm-up.
double MedianMs(const std::function<void()>& setUp, const std::function<void()>& work)
{
    setUp();
    work();
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        setUp();
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

double MedianMs(const std::function<void()>& work)
{
    return MedianMs([] {}, work);
}

double Median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double ElapsedMs(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Median milliseconds of ours and of the library's, their runs taken in
// turns so that a machine shared with other work slows both alike.
std::pair<double, double> MedianPairMs(const std::function<void()>& ours, const std::function<void()>& library)
{
    ours();
    library();
    std::vector<double> oursTimes, libraryTimes;
    for (int run = 0; run < kRuns; ++run) {
        oursTimes.push_back(ElapsedMs(ours));
        libraryTimes.push_back(ElapsedMs(library));
    }
    return {Median(oursTimes), Median(libraryTimes)};
}

void Require(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "benchmark setup failed: %s\n", what);
    std::exit(2);
}

// What a reader does before its upload: read the file, decode it.
std::optional<TextureImage> ReadAndDecode(const std::string& path, ImageDecoder decode)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return decode(*bytes, DecodeContext{path, MaxTextureSide()}).image;
}

struct Row {
    const char* format;
    double fileMegabytes;
    double oursMs;
    double libraryMs;  // 0 when the target is a throughput
    double uploadMs;
};

bool MeetsTarget(const Row& row)
{
    if (row.libraryMs > 0) return row.oursMs <= kMaxLibraryRatio * row.libraryMs;
    return row.fileMegabytes / (row.oursMs / 1000) >= kMinMegabytesPerSecond;
}

void Print(const Row& row)
{
    const double throughput = row.fileMegabytes / (row.oursMs / 1000);
    if (row.libraryMs > 0)
        std::printf("%-5s %8.2f MB  decode %8.2f ms  library %8.2f ms  ratio %5.2f (target <= %.1f)  upload %8.2f ms  %s\n",
                    row.format, row.fileMegabytes, row.oursMs, row.libraryMs, row.oursMs / row.libraryMs,
                    kMaxLibraryRatio, row.uploadMs, MeetsTarget(row) ? "ok" : "MISSED");
    else
        std::printf("%-5s %8.2f MB  decode %8.2f ms  %8.0f MB/s (target >= %.0f)               upload %8.2f ms  %s\n",
                    row.format, row.fileMegabytes, row.oursMs, throughput, kMinMegabytesPerSecond, row.uploadMs,
                    MeetsTarget(row) ? "ok" : "MISSED");
}

double Megabytes(const std::string& path) { return static_cast<double>(fs::file_size(path)) / 1e6; }

// Upload of a decoded image through the reader's own upload step.
double UploadMs(const TextureImage& decoded, GLenum minFilter)
{
    LoadTexture texture;
    TextureImage copy;
    return MedianMs([&] { texture.ReleaseTexture(), copy = decoded; },
                    [&] {
                        texture.UploadTextureImage(std::move(copy), minFilter);
                        glFinish();
                    });
}

Row MeasureImage(const char* format, const std::string& path, ImageDecoder decode,
                 const std::function<bool()>& libraryAlone, GLenum minFilter)
{
    const auto decoded = ReadAndDecode(path, decode);
    Require(decoded.has_value(), format);
    const auto ours = [&] { Require(ReadAndDecode(path, decode).has_value(), format); };
    Row row{format, Megabytes(path), 0, 0, 0};
    if (libraryAlone)
        std::tie(row.oursMs, row.libraryMs) = MedianPairMs(ours, [&] { Require(libraryAlone(), format); });
    else
        row.oursMs = MedianMs(ours);
    row.uploadMs = UploadMs(*decoded, minFilter);
    return row;
}

Row MeasureBmp(const std::string& path)
{
    const auto decode = [&] { return DecodeBmpFile(path, DecodeContext{path, MaxTextureSide()}).image; };
    Row row{"BMP", Megabytes(path), 0, 0, 0};
    std::tie(row.oursMs, row.libraryMs) = MedianPairMs([&] { Require(decode().has_value(), "BMP"); },
                                                       [&] { Require(DecodeWithGdkPixbuf(path), "GdkPixbuf"); });
    row.uploadMs = UploadMs(*decode(), GL_LINEAR_MIPMAP_LINEAR);
    return row;
}

Row MeasurePng(const std::string& path)
{
    std::vector<std::uint8_t> pixels;
    Row row{"PNG", Megabytes(path), 0, 0, 0};
    std::tie(row.oursMs, row.libraryMs) =
        MedianPairMs([&] { Require(ReadAndDecode(path, DecodePng).has_value(), "PNG"); },
                     [&] { Require(DecodeWithLibpng(path, pixels), "libpng"); });
    const auto decoded = ReadAndDecode(path, DecodePng);
    TextureImage copy;
    GLuint name = 0;
    row.uploadMs = MedianMs(
        [&] {
            glDeleteTextures(1, &name);
            copy = *decoded;
        },
        [&] {
            PngInfo info;
            name = UploadPngImage(copy, info, GL_REPEAT, GL_LINEAR, GL_LINEAR);
            glFinish();
        });
    glDeleteTextures(1, &name);
    return row;
}

Row MeasureDds(const std::string& path)
{
    const auto decodeDds = [&] {
        const auto bytes = ReadDdsBytes(path, MaxTextureSide());
        Require(bytes.has_value(), "DDS");
        auto decoded = DecodeDds(*bytes, DecodeContext{path, MaxTextureSide()});
        Require(decoded.image.has_value(), "DDS");
        return std::move(*decoded.image);
    };
    Row row{"DDS", Megabytes(path), MedianMs([&] { decodeDds(); }), 0, 0};
    const DdsImage image = decodeDds();
    const auto upload = reinterpret_cast<PFNGLCOMPRESSEDTEXIMAGE2DARBPROC>(
        platform::GetGlProcAddress("glCompressedTexImage2DARB"));
    Require(upload != nullptr, "glCompressedTexImage2DARB");
    GLuint name = 0;
    row.uploadMs = MedianMs(
        [&] {
            glDeleteTextures(1, &name);
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
        },
        [&] {
            UploadDdsLevels(image, upload);
            glFinish();
        });
    glDeleteTextures(1, &name);
    return row;
}

}  // namespace

int main()
{
    platform::HeadlessContext context(64, 64);
    Require(context.Ok(), "no OpenGL context");
    const fs::path folder = fs::temp_directory_path() / ("pelmora-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);

    std::printf("Making %u x %u files...\n", kSide, kSide);
    const Picture picture = Noise(kSide, kSide, 3);
    const std::string ppm = WriteBytes(folder, "t.ppm", PpmP6(picture));
    const std::string tga = WriteBytes(folder, "t.tga", Tga(Noise(kSide, kSide, 4), false));
    const std::string bmp = WriteBytes(folder, "t.bmp", Bmp24(picture));
    const std::string jpg = WriteBytes(folder, "t.jpg", Jpeg(picture, JpegKind::Colour, 90, true));
    const std::string png = WriteBytes(folder, "t.png", Png(picture, PngKind::Rgb));
    std::size_t ddsBytes = 0;
    for (std::uint32_t side = kSide; side >= 1; side /= 2) ddsBytes += std::size_t((side + 3) / 4) * ((side + 3) / 4) * 16;
    const std::string dds = WriteBytes(folder, "t.dds", Dds("DXT5", kSide, kSide, 12, kSide * kSide, DxtData(ddsBytes, 1)));

    std::printf("Median of %d runs each.\n", kRuns);
    std::vector<Row> rows;
    rows.push_back(MeasureImage("JPEG", jpg, DecodeJpeg, [&] {
        std::vector<std::uint8_t> pixels;
        return DecodeWithLibjpeg(jpg, pixels);
    }, GL_LINEAR_MIPMAP_LINEAR));
    rows.push_back(MeasurePng(png));
    rows.push_back(MeasureBmp(bmp));
    rows.push_back(MeasureImage("PPM", ppm, DecodePpm, nullptr, GL_LINEAR_MIPMAP_LINEAR));
    rows.push_back(MeasureImage("TGA", tga, DecodeTga, nullptr, GL_LINEAR));
    rows.push_back(MeasureDds(dds));

    bool allMet = true;
    for (const Row& row : rows) {
        Print(row);
        allMet &= MeetsTarget(row);
    }
    fs::remove_all(folder);
    return allMet ? 0 : 1;
}
