#include "RenderOptions.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using render_tool::ParseCommandLine;

TEST(RenderToolCommandLine, DefaultsAndEveryOption)
{
    const auto defaults = ParseCommandLine({"model.x", "out.png"});
    ASSERT_TRUE(defaults.options) << defaults.error;
    EXPECT_EQ(defaults.options->modelPath, "model.x");
    EXPECT_EQ(defaults.options->outputPath, "out.png");
    EXPECT_TRUE(defaults.options->view.useBufferObjects);
    EXPECT_EQ(defaults.options->width, 640);
    EXPECT_EQ(defaults.options->height, 480);
    EXPECT_EQ(defaults.options->distance, 10.0f);

    const auto all = ParseCommandLine({"--path", "list", "--normals", "--box", "--mode", "wire", "--no-light", "--size",
                                       "320x200", "--yaw", "30", "--pitch", "-12.5", "--distance", "4", "a.x", "b.png"});
    ASSERT_TRUE(all.options) << all.error;
    const render_tool::RenderOptions& o = *all.options;
    EXPECT_TRUE(o.view.useDisplayList);
    EXPECT_FALSE(o.view.useBufferObjects);
    EXPECT_TRUE(o.view.drawNormals && o.view.drawBoundingBox);
    EXPECT_EQ(o.view.fill, PolygonFill::Wire);
    EXPECT_FALSE(o.view.lighting);
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 200);
    EXPECT_EQ(o.yaw, 30.0f);
    EXPECT_EQ(o.pitch, -12.5f);
    EXPECT_EQ(o.distance, 4.0f);

    const auto authored = ParseCommandLine({"--as-authored", "--fit", "a.x", "b.png"});
    ASSERT_TRUE(authored.options);
    EXPECT_TRUE(authored.options->view.asAuthored && authored.options->fit);
    EXPECT_FALSE(defaults.options->view.asAuthored || defaults.options->fit);

    const auto immediate = ParseCommandLine({"a.x", "--path", "immediate", "b.png"});
    ASSERT_TRUE(immediate.options);
    EXPECT_FALSE(immediate.options->view.useDisplayList || immediate.options->view.useIndexedArrays ||
                 immediate.options->view.useBufferObjects);
}

TEST(RenderToolCommandLine, RefusesWhatItCannotUse)
{
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"a.x"}, {"a.x", "b.png", "c"}, {"--path", "fast", "a.x", "b.png"},
          {"--mode"}, {"--size", "0x10", "a.x", "b.png"}, {"--size", "640", "a.x", "b.png"},
          {"--size", "99999x10", "a.x", "b.png"}, {"--yaw", "left", "a.x", "b.png"}, {"--distance", "nan", "a.x", "b.png"},
          {"--colour", "a.x", "b.png"}, {"a.x", "b.jpg"}, {"a.x", ".png"}, {"--distance", "0", "a.x", "b.png"},
          {"--distance", "-3", "a.x", "b.png"}, {"--up", "x", "a.x", "b.png"}, {"--thumbnail", "0", "a.x", "b.png"}}) {
        const auto parsed = ParseCommandLine(wrong);
        EXPECT_FALSE(parsed.options) << wrong.front();
        EXPECT_FALSE(parsed.error.empty());
    }
}

int RunTool(const std::string& arguments)
{
    // What the tool writes on standard error stays in the test's output, to be
    // seen when a run ends with a status nobody expected.
    const int status = std::system((std::string(PELMORA_RENDER_TOOL) + " " + arguments + " >/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Width and height from the header of a PNG file, or zeros.
std::pair<unsigned, unsigned> PngSize(const std::string& path)
{
    const std::string bytes = testing_support::ReadFileBytes(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto word = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

TEST(RenderTool, WritesTheFrameOrFailsWithoutWriting)
{
    testing_support::TempDir folder;
    const std::string cube = testing_support::SamplePath("cube.x");
    const std::string picture = (folder.path() / "cube.png").string();
    EXPECT_EQ(RunTool("--size 120x90 --path arrays --box --normals --yaw 30 " + cube + " " + picture), 0);
    EXPECT_EQ(PngSize(picture), (std::pair<unsigned, unsigned>{120, 90}));

    const std::string missing = (folder.path() / "missing.png").string();
    EXPECT_EQ(RunTool((folder.path() / "none.x").string() + " " + missing), 1);
    EXPECT_EQ(RunTool(folder.Write("bad.x", "xof 0303bin 0032\n") + " " + missing), 1);
    // Frames alone: nothing to draw, no picture, and a thumbnailer shows its icon.
    const std::string framesAlone = folder.Write("frames.x", "xof 0303txt 0032\nFrame Root {\n}\n");
    EXPECT_EQ(RunTool("--thumbnail 64 " + framesAlone + " " + missing), 1);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(RunTool(cube + " " + (folder.path() / "no-folder" / "x.png").string()), 1);
    EXPECT_EQ(RunTool("--help"), 0);
    EXPECT_EQ(RunTool("--size"), 2);
}

// What the thumbnailer's command line asks for; why a file cannot be loaded or drawn.
TEST(RenderTool, ThumbnailsAndReasons)
{
    const auto thumbnail = ParseCommandLine({"--thumbnail", "128", "in.X", "out.PNG"});
    ASSERT_TRUE(thumbnail.options) << thumbnail.error;
    const render_tool::RenderOptions& options = *thumbnail.options;
    EXPECT_TRUE(options.view.asAuthored && options.fit && options.transparent);
    EXPECT_EQ(options.width, 128);
    EXPECT_EQ(options.height, 128);
    EXPECT_EQ(options.yaw, render_tool::kThumbnailYaw);
    EXPECT_EQ(options.pitch, render_tool::kThumbnailPitch);
    const auto upright = ParseCommandLine({"--up", "z", "--vertex-colors", "in.x", "out.png"});
    ASSERT_TRUE(upright.options);
    EXPECT_TRUE(upright.options->view.upZ && upright.options->view.vertexColors);

    testing_support::TempDir folder;
    auto errors = [&](const std::string& model) {
        const std::string err = (folder.path() / "err.txt").string();
        std::system((std::string(PELMORA_RENDER_TOOL) + " '" + model + "' '" + (folder.path() / "o.png").string() +
                     "' 2>'" + err + "' >/dev/null").c_str());
        return testing_support::ReadFileBytes(err);
    };
    EXPECT_NE(errors((folder.path() / "none.x").string()).find("cannot load " + (folder.path() / "none.x").string() +
                                                               ": no such file"),
              std::string::npos);
    EXPECT_NE(errors(folder.path().string()).find(": a folder, not a file"), std::string::npos);
    EXPECT_NE(errors(folder.Write("bad.x", "xof 0303txt 0032\nMesh {\n")).find(": not a model it can read"),
              std::string::npos);
    const std::string frames = folder.Write("frames.x", "xof 0303txt 0032\nFrame Root {\n { BodyMesh }\n}\n");
    EXPECT_EQ(errors(frames), "pelmora-render: no mesh in " + frames + "\n");
}

// Animation sets by number or by name, at a time; the list of a file's sets.
TEST(RenderTool, PosesAndListsAnimationSets)
{
    const auto timed = ParseCommandLine({"--animation", "Wuson_Walk", "--time", "1.5", "a.x", "b.png"});
    ASSERT_TRUE(timed.options) << timed.error;
    EXPECT_EQ(timed.options->animation, "Wuson_Walk");
    EXPECT_EQ(timed.options->time, 1.5);
    EXPECT_TRUE(timed.options->view.asAuthored) << "an animation implies the scene as authored";
    const auto listing = ParseCommandLine({"--list-animations", "a.x"});
    ASSERT_TRUE(listing.options && listing.options->listAnimations);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--time", "1", "a.x", "b.png"},
                                                  {"--animation", "1", "--time", "-2", "a.x", "b.png"},
                                                  {"--list-animations", "a.x", "b.png"}})
        EXPECT_FALSE(ParseCommandLine(wrong).options) << wrong.front();

    testing_support::TempDir folder;
    const std::string wuson = testing_support::CorpusPath("assimp/Testwuson.X");
    const std::string list = (folder.path() / "list.txt").string();
    EXPECT_EQ(std::system((std::string(PELMORA_RENDER_TOOL) + " --list-animations " + wuson + " > " + list).c_str()), 0);
    EXPECT_EQ(testing_support::ReadFileBytes(list),
              "1\tWuson_Run\t0.97 s\t39 frames\n2\tWuson_Walk\t3.60 s\t39 frames\n3\tWuson_Bind\t0.00 s\t39 frames\n");

    // The same set by number and by name gives the same picture; an unknown set, none.
    const std::string byNumber = (folder.path() / "n.png").string(), byName = (folder.path() / "s.png").string();
    EXPECT_EQ(RunTool("--size 64x64 --fit --animation 2 --time 1.2 " + wuson + " " + byNumber), 0);
    EXPECT_EQ(RunTool("--size 64x64 --fit --animation Wuson_Walk --time 1.2 " + wuson + " " + byName), 0);
    EXPECT_EQ(testing_support::ReadFileBytes(byNumber), testing_support::ReadFileBytes(byName));
    const std::string none = (folder.path() / "none.png").string();
    EXPECT_EQ(RunTool("--animation 4 " + wuson + " " + none), 1);
    EXPECT_FALSE(std::filesystem::exists(none));
}

// A pyramid on a square base, its apex leaning toward +x, 3 above the base
// along +z, or along +y when stood up in the file itself.
std::string Pyramid(bool zUp)
{
    const float corners[5][3] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {0.7f, 0, 3}};
    std::string text = "xof 0303txt 0032\nMesh Pyramid {\n 5;\n";
    for (int i = 0; i < 5; ++i) {
        float x = corners[i][0], y = corners[i][1], z = corners[i][2];
        if (!zUp) std::tie(y, z) = std::pair(z, -y);  // a turn, not a mirror
        text += " " + std::to_string(x) + ";" + std::to_string(y) + ";" + std::to_string(z) + (i < 4 ? ";,\n" : ";;\n");
    }
    return text + " 6;\n 3;0,1,4;,\n 3;1,2,4;,\n 3;2,3,4;,\n 3;3,0,4;,\n 3;0,3,2;,\n 3;0,2,1;;\n}\n";
}

// "--up z" shows a z-up model as the same model stood up in its file shows
// without it, as read and as authored alike, from the front and turned: its
// +z at the top, nothing mirrored, the same faces lit.
TEST(RenderTool, UpZPutsTheModelsZAtTheTopAsReadAndAsAuthored)
{
    testing_support::TempDir folder;
    const std::string zUp = folder.Write("z.x", Pyramid(true)), yUp = folder.Write("y.x", Pyramid(false));
    const std::string out = (folder.path() / "out.png").string();
    for (const std::string mode : {"", "--as-authored "}) {
        for (const std::string turn : {"--yaw 30 --pitch 20 ", ""}) {
            const std::string common = "--size 64x64 --fit --transparent " + mode + turn;
            ASSERT_EQ(RunTool(common + yUp + " " + out), 0);
            const std::string stoodUp = testing_support::ReadFileBytes(out);
            ASSERT_EQ(RunTool(common + "--up z " + zUp + " " + out), 0);
            EXPECT_TRUE(testing_support::ReadFileBytes(out) == stoodUp) << mode << turn;
        }
    }
}

// A file of frames alone, drawn as its skeleton fitted on its joints.
TEST(RenderTool, TheSkeletonOfFramesAloneIsNotEmpty)
{
    testing_support::TempDir folder;
    const std::string frames = folder.Write("arm.x", "xof 0303txt 0032\nFrame Root {\n Frame Hand {\n  FrameTransformMatrix {\n"
                                                     "   1,0,0,0,0,1,0,0,0,0,1,0,0,2,0,1;;\n  }\n }\n}\n");
    const std::string picture = (folder.path() / "arm.png").string();
    ASSERT_EQ(RunTool("--skeleton --fit --size 64x48 " + frames + " " + picture), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, picture.c_str()), 0);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    int yellow = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) yellow += rgb[i] == 255 && rgb[i + 1] == 255 && rgb[i + 2] == 0;
    EXPECT_GT(yellow, 30) << "the bone, two units long, runs down most of the picture";
}

}  // namespace
