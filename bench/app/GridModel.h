// A generated ".x" model: a square grid of quads, for measuring big models.
#pragma once

#include <string>

// Writes a grid of `quadsPerSide` x `quadsPerSide` quads, (quadsPerSide + 1)^2
// vertices, 10 units wide and gently waved, as one mesh. Returns false when
// the file cannot be written.
bool WriteGridModel(const std::string& path, int quadsPerSide);
