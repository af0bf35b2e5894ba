// A shell with stand-in menu and dialogs, drawing into a small offscreen
// context, and the PNG pictures it saves read back.
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
