#include "render/RenderModel.h"

#include <algorithm>

namespace {

// Switches lighting off for the extras and restores it, with colour
// material on meanwhile; leaves the colour opaque white.
class UnlitColourScope {
public:
    UnlitColourScope(float r, float g, float b, float a) : wasLit_(glIsEnabled(GL_LIGHTING) == GL_TRUE)
    {
        if (wasLit_) glDisable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
        glColor4f(r, g, b, a);
    }
    ~UnlitColourScope()
    {
        if (wasLit_) glEnable(GL_LIGHTING);
        glColor4f(1, 1, 1, 1);
        glDisable(GL_COLOR_MATERIAL);
    }
    UnlitColourScope(const UnlitColourScope&) = delete;
    UnlitColourScope& operator=(const UnlitColourScope&) = delete;

private:
    bool wasLit_;
};

}  // namespace

void RenderModel::DrawNormals(const Model& model) const
{
    for (std::size_t m = 0; m < model.meshes.size(); ++m) {
        if (m < meshes.size() && !meshes[m].shown) continue;
        const MeshGeometry geometry = Geometry(model, m);
        if (!geometry.normals) continue;
        const UnlitColourScope yellow(1, 1, 0, 1);
        const std::size_t count = std::min(geometry.vertices.size(), geometry.normals->size());
        for (std::size_t i = 0; i < count; ++i) {
            const Vector3& p = geometry.vertices[i];
            const Vector3& n = (*geometry.normals)[i];
            glBegin(GL_LINES);
            glVertex3f(p.x, p.y, p.z);
            glVertex3f(p.x + n.x, p.y + n.y, p.z + n.z);
            glEnd();
        }
    }
}

void RenderModel::DrawBoundingBox() const
{
    const UnlitColourScope halfOrange(0.9f, 0.6f, 0.0f, 0.5f);
    for (const MeshRenderData& data : meshes) {
        if (!data.shown) continue;
        glBegin(GL_TRIANGLES);
        for (const std::int32_t corner : data.boxTriangles) {
            if (corner < 0 || corner >= static_cast<std::int32_t>(data.boxCorners.size())) continue;
            const Vector3& p = data.boxCorners[static_cast<std::size_t>(corner)];
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
}
