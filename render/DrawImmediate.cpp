#include "model/MeshAccess.h"
#include "render/MaterialSetup.h"
#include "render/RenderModel.h"

#include <algorithm>

void RenderModel::DrawImmediate(const Model& model) const
{
    render::MaterialState state;
    const std::size_t count = std::min(model.meshes.size(), meshes.size());
    for (std::size_t m = 0; m < model.meshes.size(); ++m)
        if (m >= count || meshes[m].shown) DrawImmediateMesh(model, m, state);
    state.Finish();
}

// Face by face, each face its own glBegin/glEnd after its material. Faces
// that cannot be drawn (see IsDrawableFace) are passed over entirely. A
// split mesh's corners name its drawn vertices; each takes the texture
// coordinate and colour of the vertex it shows.
void RenderModel::DrawImmediateMesh(const Model& model, std::size_t m, render::MaterialState& state) const
{
    const MeshRecord& mesh = model.meshes[m];
    const MeshGeometry geometry = Geometry(model, m);
    const std::int32_t vertexCount = mesh.vertexCount();
    const std::int32_t normalCount = geometry.normals ? static_cast<std::int32_t>(geometry.normals->size()) : 0;
    if (geometry.colors) state.TakeVertexColors();
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        if (!records::IsDrawableFace(face, vertexCount)) continue;
        if (const MaterialRecord* material = records::FaceMaterial(mesh, f))
            state.Setup(*material, TextureOf(m, static_cast<std::size_t>(material - mesh.materials.data())));
        else
            state.SetupWithoutMaterial();
        glBegin(GL_TRIANGLES);
        for (std::int32_t c = 0; c < face.cornerCount; ++c) {
            const std::int32_t i = geometry.Corner(mesh.faces, f, c);
            const std::int32_t source = geometry.Source(i);
            if (i < normalCount) {
                const Vector3& n = (*geometry.normals)[static_cast<std::size_t>(i)];
                glNormal3f(n.x, n.y, n.z);
            }
            if (const TexCoord* t = records::VertexTexCoord(mesh, source)) glTexCoord2f(t->u, t->v);
            if (geometry.colors) glColor4fv((*geometry.colors)[static_cast<std::size_t>(source)].data());
            const Vector3& p = geometry.vertices[static_cast<std::size_t>(i)];
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    state.ResetAfterMesh();
}
