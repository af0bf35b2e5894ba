#include "app/Overlay.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>

GlutOverlayFont::GlutOverlayFont()
{
    static const bool initialised = [] {
        // GLUT only draws glyphs here: it gets a name and nothing else to parse.
        char name[] = "pelmora";
        char* argv[] = {name, nullptr};
        int argc = 1;
        glutInit(&argc, argv);
        return true;
    }();
    (void)initialised;
}

void GlutOverlayFont::DrawCharacter(unsigned char character) { glutBitmapCharacter(GLUT_BITMAP_8_BY_13, character); }

void DrawOverlayText(const ShellState& state, float x, float y, std::string_view text, OverlayFont& font)
{
    const bool lit = glIsEnabled(GL_LIGHTING);
    if (lit) glDisable(GL_LIGHTING);

    // A window without area has no pixels to write to, and glOrtho would refuse it.
    if (state.windowWidth > 0 && state.windowHeight > 0) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, state.windowWidth, state.windowHeight, 0, -10000, 10000);
        glMatrixMode(GL_MODELVIEW);
        glRasterPos2f(x, y);
        for (const char character : text) font.DrawCharacter(static_cast<unsigned char>(character));
    }

    if (lit) glEnable(GL_LIGHTING);
}

std::array<std::string, 4> ModelOverlayLines(const Model& model, float fps)
{
    // Sums in 64 bits: a model of more than 2^31 faces times its frame rate
    // would overflow a 32-bit product.
    std::int64_t vertices = 0, faces = 0, materials = 0;
    for (const MeshRecord& mesh : model.meshes) {
        vertices += mesh.vertexCount();
        faces += mesh.faceCount();
        materials += mesh.materialCount();
    }
    const std::int64_t trianglesPerSecond = faces * static_cast<std::int64_t>(fps);

    std::array<std::string, 4> lines;
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, "Vertexes : %" PRId64 ", Faces : %" PRId64 ", Tri/sec : %" PRId64, vertices,
                  faces, trianglesPerSecond);
    lines[0] = buffer;
    std::snprintf(buffer, sizeof buffer, "Meshes : %d", static_cast<int>(model.meshCount()));
    lines[1] = buffer;
    std::snprintf(buffer, sizeof buffer, "Textures : %d", static_cast<int>(model.CountTexturedMaterials()));
    lines[2] = buffer;
    std::snprintf(buffer, sizeof buffer, "Materials : %" PRId64, materials);
    lines[3] = buffer;
    return lines;
}
