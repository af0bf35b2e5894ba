#include "model/Model.h"
#include "render/MaterialSetup.h"
#include "render/MeshAccess.h"

// Face by face, each face its own glBegin/glEnd after its material. Faces
// that cannot be drawn (see IsDrawableFace) are passed over entirely.
void Model::DrawImmediate() const
{
    for (const auto& mesh : meshes) {
        const std::int32_t vertexCount = mesh.vertexCount();
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
            const FaceRecord face = mesh.faces[f];
            if (!render::IsDrawableFace(face, vertexCount)) continue;
            if (const MaterialRecord* material = render::FaceMaterial(mesh, f)) render::SetupMaterial(*material);
            glBegin(GL_TRIANGLES);
            for (std::int32_t c = 0; c < face.cornerCount; ++c) {
                const std::int32_t i = face.corners[c];
                if (const Vector3* n = render::VertexNormal(mesh, i)) glNormal3f(n->x, n->y, n->z);
                if (const TexCoord* t = render::VertexTexCoord(mesh, i)) glTexCoord2f(t->u, t->v);
                const Vector3& p = mesh.vertices[static_cast<std::size_t>(i)];
                glVertex3f(p.x, p.y, p.z);
            }
            glEnd();
        }
        render::ResetAfterMesh();
    }
}
