// The command line of pelmora-render.
#pragma once

#include "render/Scene.h"

#include <optional>
#include <string>
#include <vector>

namespace render_tool {

struct RenderOptions {
    std::string modelPath;
    std::string outputPath;
    ViewOptions view;  // the draw path, the extras, the polygon mode, the lighting, the up axis
    bool fit = false;  // the view fitted to the model
    bool transparent = false;  // the background left transparent (a thumbnail's)
    bool version = false;
    int width = 640;
    int height = 480;
    float yaw = 0;    // degrees about Y
    float pitch = 0;  // degrees about X
    float distance = kStartCameraDistance;
    std::optional<std::string> animation;  // the set to pose, by number from 1 or by name
    double time = 0;                       // seconds into that set
    bool listAnimations = false;           // list the sets of modelPath instead of drawing
    bool traces = false;
    bool help = false;
};

// The three-quarter view of a thumbnail.
constexpr float kThumbnailYaw = 35;
constexpr float kThumbnailPitch = 25;

struct ParsedCommandLine {
    std::optional<RenderOptions> options;  // none when the line is wrong
    std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

extern const std::string kUsage;

}  // namespace render_tool
