// The statistics drawn as bitmap text over the scene.
#pragma once

#include "app/ShellState.h"

#include <array>
#include <string>
#include <string_view>

// Draws one glyph at the current raster position and advances it.
class OverlayFont {
public:
    virtual ~OverlayFont() = default;
    virtual void DrawCharacter(unsigned char character) = 0;
};

// GLUT's 8x13 bitmap font. The first one made initialises GLUT (no GLUT
// window or loop), which needs an X display.
class GlutOverlayFont : public OverlayFont {
public:
    GlutOverlayFont();
    void DrawCharacter(unsigned char character) override;
};

// Lines are 15 pixels apart; y is the baseline, from the top of the window.
constexpr float kOverlayFirstLineY = 10;
constexpr float kOverlayLineStep = 15;

// One line of text at (x, y) in window pixels (origin top-left, y down),
// unlit, under a projection of window pixels (left current).
void DrawOverlayText(const ShellState& state, float x, float y, std::string_view text, OverlayFont& font);

// The four lines under the frame rate: vertex, face and triangle-rate
// counts, meshes, textured materials, materials.
std::array<std::string, 4> ModelOverlayLines(const Model& model, float fps);
