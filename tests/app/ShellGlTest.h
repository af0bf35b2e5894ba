// A shell with stand-in menu and dialogs, drawing into a small offscreen
// context, the frames it draws and the PNG pictures it saves read back.
#pragma once

#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/Shell.h"
#include "app/ShellState.h"
#include "render/Scene.h"

#include <png.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One frame, at rest at x = 50, whose keys put it at x = 0, 1 and 3 at
// ticks 0, 10 and 30, at 30 ticks a second (keys at 0, 1/3 and 1 s).
inline constexpr const char* kSlide = R"(xof 0303txt 0032
Frame Box {
 FrameTransformMatrix {
  1,0,0,0,0,1,0,0,0,0,1,0,50,0,0,1;;
 }
 Mesh {
  3;
  0;0;0;,
  1;0;0;,
  0;1;0;;
  1;
  3;0,1,2;;
 }
}
AnimationSet Slide {
 Animation {
  {Box}
  AnimationKey {
   2;
   3;
   0;3;0,0,0;;,
   10;3;1,0,0;;,
   30;3;3,0,0;;;
  }
 }
}
)";

class ShellGlTest : public testing_support::GlTest {
protected:
    static constexpr int kWidth = 160, kHeight = 120;
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kWidth, kHeight);
        ASSERT_TRUE(context->Ok()) << context->Error();
        RecordClientSize(state, kWidth, kHeight);
        InitGL(kWidth, kHeight);
    }
    // The viewer's frame without its overlay text, read back as RGBA.
    std::vector<std::uint8_t> Frame()
    {
        RenderFrame(state, options, font, [] { return 0u; }, nullptr);
        return context->ReadPixels();
    }

    struct SilentFont : OverlayFont {
        void DrawCharacter(unsigned char) override {}
    } font;
    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    Shell shell{state, options, menu, dialogs, [] {}};
};

// The RGB pixels of a PNG file, or nothing when it cannot be read or is not of that size.
inline std::vector<std::uint8_t> PngRgb(const std::string& path, unsigned width, unsigned height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0 || image.width != width ||
        image.height != height)
        return {};
    return rgb;
}
