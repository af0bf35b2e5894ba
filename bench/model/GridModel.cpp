#include "GridModel.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

namespace {
void WriteElementPerLine(const std::string& path, int cells)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file) throw std::runtime_error("cannot write " + path);
    std::FILE* out = file.get();
    const int side = cells + 1;
    const long vertexCount = static_cast<long>(side) * side;
    const long faceCount = static_cast<long>(cells) * cells;

    std::fprintf(out, "xof 0303txt 0032\n\nFrame Root {\n  FrameTransformMatrix {\n"
                      "    1.000000,0.000000,0.000000,0.000000,\n    0.000000,1.000000,0.000000,0.000000,\n"
                      "    0.000000,0.000000,1.000000,0.000000,\n    0.000000,0.000000,0.000000,1.000000;;\n  }\n");
    std::fprintf(out, "  Mesh Grid {\n    %ld;\n", vertexCount);
    for (long v = 0; v < vertexCount; ++v) {
        const int row = static_cast<int>(v / side), column = static_cast<int>(v % side);
        const float height = static_cast<float>((row * 7 + column * 13) % 97) / 97.0f;
        std::fprintf(out, "    %f;%f;%f;%s\n", column * 0.01f, height, row * 0.01f, v + 1 < vertexCount ? "," : ";");
    }
    std::fprintf(out, "    %ld;\n", faceCount);
    for (long f = 0; f < faceCount; ++f) {
        const long row = f / cells, column = f % cells;
        const long a = row * side + column;
        std::fprintf(out, "    4;%ld,%ld,%ld,%ld;%s\n", a, a + 1, a + side + 1, a + side, f + 1 < faceCount ? "," : ";");
    }
    std::fprintf(out, "    MeshMaterialList {\n      1;\n      %ld;\n", faceCount);
    for (long f = 0; f < faceCount; ++f) std::fprintf(out, "      0%s\n", f + 1 < faceCount ? "," : ";");
    std::fprintf(out, "      Material Ground {\n        0.800000;0.800000;0.800000;1.000000;;\n        20.000000;\n"
                      "        0.000000;0.000000;0.000000;;\n        0.000000;0.000000;0.000000;;\n"
                      "        TextureFilename {\n          \"ground.png\";\n        }\n      }\n    }\n");
    std::fprintf(out, "    MeshTextureCoords {\n      %ld;\n", vertexCount);
    for (long v = 0; v < vertexCount; ++v) {
        const int row = static_cast<int>(v / side), column = static_cast<int>(v % side);
        std::fprintf(out, "      %f;%f;%s\n", static_cast<float>(column) / cells, static_cast<float>(row) / cells,
                     v + 1 < vertexCount ? "," : ";");
    }
    std::fprintf(out, "    }\n  }\n}\n");
}

// `from` with each line break after the first line a space and no indentation.
void WriteOnOneLine(const std::string& from, const std::string& path)
{
    const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(from.c_str(), "r"));
    const std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "w"));
    if (!in || !out) throw std::runtime_error("cannot write " + path);
    bool firstLine = true, lineStart = true;
    for (int c; (c = std::fgetc(in.get())) != EOF;) {
        if (lineStart && c == ' ') continue;
        lineStart = c == '\n';
        if (c == '\n' && !firstLine) c = ' ';
        if (lineStart) firstLine = false;
        std::fputc(c, out.get());
    }
}
}  // namespace

void WriteGridModel(const std::string& path, int cells, GridLayout layout)
{
    if (layout == GridLayout::ElementPerLine) return WriteElementPerLine(path, cells);
    const std::string lines = path + ".lines";
    WriteElementPerLine(lines, cells);
    WriteOnOneLine(lines, path);
    std::remove(lines.c_str());
}
