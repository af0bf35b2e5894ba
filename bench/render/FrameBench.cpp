// Frame time of each draw path on the 1,000,000-quad grid, offscreen, as a
// ratio to a bare draw of the same triangles: one glDrawElements from one
// vertex buffer and one index buffer.
#include "TorusGrid.h"

#include "platform/BufferObjectApi.h"
#include "platform/HeadlessContext.h"
#include "render/LoadedModel.h"
#include "render/MaterialSetup.h"
#include "render/Scene.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <functional>

namespace {

constexpr float kYaw = 30, kPitch = 20;

// Average milliseconds per frame, after one frame to warm up.
double FrameTime(int frames, const std::function<void()>& draw)
{
    auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
    };
    frame();
    return render_bench::Milliseconds([&] {
               for (int i = 0; i < frames; ++i) frame();
           }) /
           frames;
}

class BareDraw {
public:
    BareDraw(const MeshRenderData& data, const MeshRecord& mesh) : api_(platform::TheBufferObjectApi())
    {
        const auto& vertices = *data.interleavedVertices;
        const auto& indices = (*data.renderGroups)[0].indices;
        count_ = static_cast<GLsizei>(indices.size());
        api_.genBuffers(2, buffers_);
        api_.bindBuffer(GL_ARRAY_BUFFER_ARB, buffers_[0]);
        api_.bufferData(GL_ARRAY_BUFFER_ARB, vertices.size() * sizeof(InterleavedVertex), vertices.data(), GL_STATIC_DRAW_ARB);
        api_.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, buffers_[1]);
        api_.bufferData(GL_ELEMENT_ARRAY_BUFFER_ARB, indices.size() * 4, indices.data(), GL_STATIC_DRAW_ARB);
        api_.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
        api_.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        material_ = mesh.materials[0].colors;
    }
    ~BareDraw() { api_.deleteBuffers(2, buffers_); }

    void Draw() const
    {
        glPushMatrix();  // the same turn as the scene below
        glRotatef(kYaw, 0, 1, 0);
        glRotatef(kPitch, 1, 0, 0);
        render::ApplyColors(material_);
        api_.bindBuffer(GL_ARRAY_BUFFER_ARB, buffers_[0]);
        api_.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, buffers_[1]);
        glInterleavedArrays(GL_T2F_N3F_V3F, sizeof(InterleavedVertex), nullptr);
        glDrawElements(GL_TRIANGLES, count_, GL_UNSIGNED_INT, nullptr);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        api_.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
        api_.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        glPopMatrix();
    }

private:
    const platform::BufferObjectApi& api_;
    GLuint buffers_[2] = {};
    GLsizei count_ = 0;
    MaterialColors material_;
};

ViewOptions PathOptions(bool list, bool arrays, bool buffers)
{
    ViewOptions options;
    options.useDisplayList = list;
    options.useIndexedArrays = arrays;
    options.useBufferObjects = buffers;
    return options;
}

}  // namespace

int main()
{
    platform::HeadlessContext context(640, 480);
    if (!context.Ok()) {
        std::fprintf(stderr, "no offscreen context: %s\n", context.Error().c_str());
        return 1;
    }
    InitGL(640, 480);
    {
        LoadedModel loaded;
        render_bench::FillTorusGrid(loaded.model, 1000, 1000);
        loaded.render.ComputeBoundingBoxes(loaded.model);
        loaded.model.TriangulateFaces();
        if (loaded.ComputeNormals() != S_OK) return 1;
        loaded.render.BuildDisplayList(loaded.model);
        const BareDraw bare(loaded.render.meshes[0], loaded.model.meshes[0]);

        struct Row {
            const char* name;
            int frames;
            std::function<void()> draw;
        };
        const Row rows[] = {
            {"reference (one glDrawElements)", 10, [&] { bare.Draw(); }},
            {"DrawBufferObjects", 10, [&] { DrawModelScene(&loaded, PathOptions(false, false, true), kPitch, kYaw); }},
            {"DrawIndexedArrays", 10, [&] { DrawModelScene(&loaded, PathOptions(false, true, false), kPitch, kYaw); }},
            {"DrawDisplayList", 5, [&] { DrawModelScene(&loaded, PathOptions(true, false, false), kPitch, kYaw); }},
            {"reference (repeated)", 10, [&] { bare.Draw(); }},
            {"DrawImmediate", 3, [&] { DrawModelScene(&loaded, PathOptions(false, false, false), kPitch, kYaw); }},
        };
        std::printf("grid: 2000000 triangles, 640x480 offscreen (Mesa %s)\n",
                    reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        // Best of three rounds, the rows taking turns, so that a busy moment
        // of the machine does not weigh on one path alone.
        constexpr std::size_t kRows = std::size(rows);
        double best[kRows];
        std::fill(std::begin(best), std::end(best), 1e30);
        for (int round = 0; round < 3; ++round)
            for (std::size_t r = 0; r < kRows; ++r) best[r] = std::min(best[r], FrameTime(rows[r].frames, rows[r].draw));
        for (std::size_t r = 0; r < kRows; ++r)
            std::printf("%-32s %9.1f ms/frame  %6.2fx\n", rows[r].name, best[r], best[r] / best[0]);
    }
    return 0;
}
