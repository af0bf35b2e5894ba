#include "render/RenderModel.h"

#include <algorithm>
#include <cmath>

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

// Drawn as authored, a normal's line is this share of the model's size.
constexpr float kNormalShareOfDiagonal = 1.0f / 50.0f;

}  // namespace

float RenderModel::BoxDiagonal(const Model& model) const
{
    bool any = false;
    Vector3 low{}, high{};
    for (std::size_t m = 0; m < meshes.size() && m < model.meshes.size(); ++m) {
        if (Geometry(model, m).vertices.empty()) continue;  // a mesh without vertices has no box
        for (const Vector3& p : meshes[m].boxCorners) {
            if (!any) low = high = p;
            any = true;
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    const float dx = high.x - low.x, dy = high.y - low.y, dz = high.z - low.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void RenderModel::DrawNormals(const Model& model) const
{
    const float length = pose_.asAuthored ? BoxDiagonal(model) * kNormalShareOfDiagonal : 1.0f;
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
            glVertex3f(p.x + length * n.x, p.y + length * n.y, p.z + length * n.z);
            glEnd();
        }
    }
}

namespace {

void DrawBoxOf(const MeshRenderData& data)
{
    glBegin(GL_TRIANGLES);
    for (const std::int32_t corner : data.boxTriangles) {
        if (corner < 0 || corner >= static_cast<std::int32_t>(data.boxCorners.size())) continue;
        const Vector3& p = data.boxCorners[static_cast<std::size_t>(corner)];
        glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
}

}  // namespace

void RenderModel::DrawBoundingBox() const
{
    const UnlitColourScope halfOrange(0.9f, 0.6f, 0.0f, 0.5f);
    for (const MeshRenderData& data : meshes)
        if (data.shown) DrawBoxOf(data);
}

void RenderModel::DrawMeshBoundingBox(std::size_t mesh) const
{
    if (mesh >= meshes.size() || !meshes[mesh].shown) return;
    // Another colour than the boxes of every mesh, so that it shows among them.
    const UnlitColourScope halfCyan(0.0f, 0.8f, 0.9f, 0.5f);
    DrawBoxOf(meshes[mesh]);
}
