// A large ".x" text file shaped like the output of common exporters.
#pragma once

#include <string>

// A grid of (cells + 1)^2 vertices and cells^2 four-cornered faces, with
// texture coordinates and one textured material, written to `path`.
void WriteGridModel(const std::string& path, int cells);
