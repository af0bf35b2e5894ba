// The rule the JPEG, PNG and BMP readers share with the others: a file whose
// data ends before its image does is refused as incomplete, and costs what
// its data holds, never the size its header claims.
#include "TestImages.h"
#include "TestSupport.h"
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

using namespace test_images;

namespace {

using ImageDecoder = Decoded<TextureImage> (*)(std::span<const std::uint8_t>, const DecodeContext&);

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

long StatusKib(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + field.size(), nullptr, 10);
    return 0;
}

// How far the resident peak rose above the resident size while `work` ran,
// in MiB; nothing when the system does not let the peak be reset.
std::optional<double> PeakGrowthMiB(const std::function<void()>& work)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKib("VmRSS:");
    if (StatusKib("VmHWM:") > before + 1024) return std::nullopt;
    work();
    return (StatusKib("VmHWM:") - before) / 1024.0;
}

struct Case {
    const char* what;
    ImageDecoder decode;
    std::string bytes;
    const char* operation;
};

void ExpectIncomplete(const Case& c, const DecodeContext& context)
{
    testing_support::MessageRecorder recorder;  // libjpeg's warnings go to the trace
    const auto decoded = c.decode(AsBytes(c.bytes), context);
    EXPECT_FALSE(decoded.image.has_value()) << c.what;
    ASSERT_EQ(decoded.messages.size(), 1u) << c.what;
    EXPECT_EQ(decoded.messages[0].text, "Ce fichier: f est incomplet. " + std::string(c.operation)) << c.what;
    EXPECT_EQ(decoded.messages[0].caption, "Erreur") << c.what;
}

std::string WithoutEndOfBitmap(std::string runLength)
{
    runLength.resize(runLength.size() - 2);
    return runLength;
}

TEST(IncompleteData, SmallFilesClaimingTheLargestSideAreRefusedWithoutReservingTheirImage)
{
    constexpr std::uint16_t kSide = kFallbackMaxTextureSide;
    const Picture picture = Noise(64, 64, 3);
    const std::string jpeg = JpegClaiming(Jpeg(picture, JpegKind::Colour), kSide, kSide);
    const std::string progressive = JpegClaiming(Jpeg(picture, JpegKind::Progressive), kSide, kSide);
    // Its data covers 64 rows, and never ends the bitmap or ends it at once.
    const std::string runLength = BmpClaiming(WithoutEndOfBitmap(Bmp8(Blocks(64, 64), true)), kSide, kSide);
    const std::string runLengthEnded = runLength + std::string("\0\1", 2);
    const Case cases[] = {
        {"JPEG, a marker after a few bytes of scan", DecodeJpeg, JpegCutInScan(jpeg, 40, true), "Load_Jpeg"},
        {"JPEG, cut after a few bytes of scan", DecodeJpeg, JpegCutInScan(jpeg, 40, false), "Load_Jpeg"},
        {"progressive JPEG, a marker after a few bytes of scan", DecodeJpeg, JpegCutInScan(progressive, 200, true),
         "Load_Jpeg"},
        {"PNG whose data inflates to 100 bytes", DecodePng, PngClaiming(kSide, kSide, 100), "Load_PNG"},
        {"run-length BMP", DecodeBmp, runLength, "Load_BMP"},
        {"run-length BMP ending its bitmap", DecodeBmp, runLengthEnded, "Load_BMP"},
        {"uncompressed BMP", DecodeBmp, BmpClaiming(Bmp24(picture), kSide, kSide), "Load_BMP"},
    };
    const DecodeContext context{"f", kFallbackMaxTextureSide};
    for (const Case& c : cases) {
        const auto growth = PeakGrowthMiB([&] { ExpectIncomplete(c, context); });
        // Decoded, any of them would take 768 MiB at least.
        if (growth) {
            EXPECT_LT(*growth, 64) << c.what;
        }
    }
}

TEST(IncompleteData, AJpegWhoseDataStopsIsNotDecodedOnToItsClaimedEnd)
{
    // Enough data for the blocks a 2048 x 8192 header announces, but only 64
    // rows' worth of image before the end marker: the rows after it would be
    // grey, 48 MiB of them.
    const std::string jpeg = Jpeg(Noise(2048, 64, 3), JpegKind::Colour);
    const std::string claimed = JpegClaiming(jpeg, 2048, 8192);
    ASSERT_GT(jpeg.size(), 3u * 256 * 1024 / 8) << "too little data to pass the size check";
    const auto growth = PeakGrowthMiB([&] {
        ExpectIncomplete({"JPEG", DecodeJpeg, claimed, "Load_Jpeg"}, DecodeContext{"f", kFallbackMaxTextureSide});
    });
    if (growth) {
        EXPECT_LT(*growth, 16);
    }
}

TEST(IncompleteData, ImagesCutInTheMiddleOfTheirDataAreRefusedInEveryFormat)
{
    const Picture picture = Noise(64, 64, 3);
    const std::string jpeg = Jpeg(picture, JpegKind::Colour);
    const std::string progressive = Jpeg(picture, JpegKind::Progressive);
    const std::string png = Png(picture, PngKind::Rgb);
    const std::string runLength = Bmp8(Blocks(64, 64), true);
    const std::string bitmap = Bmp24(picture);
    const Case cases[] = {
        {"JPEG, a marker in its scan", DecodeJpeg, JpegCutInScan(jpeg, jpeg.size() / 2, true), "Load_Jpeg"},
        {"JPEG, cut in its scan", DecodeJpeg, JpegCutInScan(jpeg, jpeg.size() / 2, false), "Load_Jpeg"},
        {"progressive JPEG, a marker in a later scan", DecodeJpeg,
         progressive.substr(0, progressive.size() * 3 / 4) + "\xFF\xD9", "Load_Jpeg"},
        {"PNG, cut in its IDAT chunk", DecodePng, png.substr(0, png.size() / 2), "Load_PNG"},
        {"PNG whose stream ends before its last row", DecodePng, PngClaiming(64, 64, 64 * 193 / 2), "Load_PNG"},
        {"run-length BMP, cut", DecodeBmp, runLength.substr(0, runLength.size() / 2), "Load_BMP"},
        {"uncompressed BMP, cut", DecodeBmp, bitmap.substr(0, bitmap.size() / 2), "Load_BMP"},
    };
    for (const Case& c : cases) ExpectIncomplete(c, DecodeContext{"f", 64});

    // libpng reserves a chunk's claimed length before reading it: a text
    // chunk claiming 2 GB after the header must not get it.
    const std::string claimsGigabytes = png.substr(0, 33) + std::string("\x76\0\0\x25tEXtdate", 12);
    const long before = StatusKib("VmSize:");
    const bool peakKnown = StatusKib("VmPeak:") < before + 256 * 1024;
    ExpectIncomplete({"PNG, a chunk longer than the file", DecodePng, claimsGigabytes, "Load_PNG"}, {"f", 64});
    if (peakKnown) {
        EXPECT_LT(StatusKib("VmPeak:") - before, 256 * 1024);
    }
}

// The headers and the first `rows` rows of run-length data written a row at
// a time, each row ending with an end of line.
std::string FirstRows(const std::string& runLength, int rows)
{
    std::size_t at = static_cast<std::uint8_t>(runLength[10]) | static_cast<std::uint8_t>(runLength[11]) << 8;
    for (int row = 0; row < rows; ++row, at += 2)
        while (runLength.compare(at, 2, std::string("\0\0", 2)) != 0) at += 2;  // commands are byte pairs
    return runLength.substr(0, at);
}

// Run-length data may stop short of the last row by the format's own means,
// if it does not leave most of the image blank. Read from a file, it is
// followed in a pass of its own before the loader's.
TEST(IncompleteData, RunLengthBitmapsThatEndOrJumpPastTheirLastRowLoadUnlessMostRowsAreBlank)
{
    const std::string whole = Bmp8(Blocks(512, 512), true);  // more than one piece of the file reader
    const std::string half = FirstRows(whole, 256);
    const std::string endOfBitmap("\0\1", 2);
    const std::string jump255Rows("\0\2\0\xFF", 4);
    const DecodeContext context{"f", 512};
    testing_support::TempDir folder;
    for (const std::string& bytes : {whole, WithoutEndOfBitmap(whole), half + endOfBitmap,
                                     half + jump255Rows + std::string("\0\2\0\x01", 4)}) {
        const std::string path = folder.Write("r.bmp", bytes);
        for (const auto& decoded : {DecodeBmp(AsBytes(bytes), context), DecodeBmpFile(path, context)}) {
            ASSERT_TRUE(decoded.image.has_value()) << (decoded.messages.empty() ? "" : decoded.messages[0].text);
            EXPECT_EQ(decoded.image->height, 512u);
        }
    }
    const std::string firstRow = FirstRows(whole, 1);
    for (const std::string& bytes : {half + jump255Rows, firstRow + endOfBitmap, firstRow + jump255Rows + jump255Rows + jump255Rows}) {
        const auto decoded = DecodeBmpFile(folder.Write("cut.bmp", bytes), context);
        ASSERT_EQ(decoded.messages.size(), 1u);
        EXPECT_EQ(decoded.messages[0].text, "Ce fichier: f est incomplet. Load_BMP");
    }
}

}  // namespace
