// A large ".x" text file shaped like the output of common exporters.
#pragma once

#include <string>

enum class GridLayout {
    ElementPerLine,  // each vertex, face and value group on a line of its own, as exporters write
    OneLine,         // the header line, then every object on one line
};

// A grid of (cells + 1)^2 vertices and cells^2 four-cornered faces, with
// texture coordinates and one textured material, written to `path`.
void WriteGridModel(const std::string& path, int cells, GridLayout layout = GridLayout::ElementPerLine);
