// A shell with stand-in menu and dialogs, drawing into a small offscreen context.
#pragma once

#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/Shell.h"
#include "app/ShellState.h"

#include <cstdint>
#include <memory>
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
