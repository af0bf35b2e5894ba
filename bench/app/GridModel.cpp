#include "GridModel.h"

#include <cmath>
#include <cstdio>
#include <memory>

bool WriteGridModel(const std::string& path, int quadsPerSide)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "w"), std::fclose);
    if (!file) return false;
    std::FILE* out = file.get();
    const int side = quadsPerSide + 1;
    std::fprintf(out, "xof 0303txt 0032\n\nMesh Grid {\n %d;\n", side * side);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const double x = -5.0 + 10.0 * column / quadsPerSide;
            const double y = -5.0 + 10.0 * row / quadsPerSide;
            const double z = 0.3 * std::sin(x * 1.7) * std::cos(y * 1.3);
            const bool last = row == side - 1 && column == side - 1;
            std::fprintf(out, " %.5f;%.5f;%.5f;%s\n", x, y, z, last ? ";" : ",");
        }
    }
    std::fprintf(out, " %d;\n", quadsPerSide * quadsPerSide);
    for (int row = 0; row < quadsPerSide; ++row) {
        for (int column = 0; column < quadsPerSide; ++column) {
            const int a = row * side + column;
            const bool last = row == quadsPerSide - 1 && column == quadsPerSide - 1;
            std::fprintf(out, " 4;%d,%d,%d,%d;%s\n", a, a + 1, a + side + 1, a + side, last ? ";" : ",");
        }
    }
    std::fprintf(out, "}\n");
    return std::ferror(out) == 0;
}
