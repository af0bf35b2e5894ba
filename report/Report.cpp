#include "report/Report.h"

#include "model/Model.h"
#include "platform/FileReplacement.h"
#include "platform/Messages.h"

#include <cerrno>
#include <cstring>

namespace {

ssize_t WriteToReplacement(void* replacement, const char* bytes, std::size_t size)
{
    auto& file = *static_cast<platform::FileReplacement*>(replacement);
    file.Write(std::string_view(bytes, size));
    return file.Ok() ? static_cast<ssize_t>(size) : -1;
}

// "%.2d" pads to two digits with zeros; a "0" flag would add nothing to a precision.
void WriteMesh(const Model& model, const MeshRecord& mesh, int number, std::FILE* out)
{
    std::fprintf(out, "\nMeshInfos %d\nVersion : %.2d%.2d\ntype : %s\nfloat : %.4d\nHeader : %d.%d.%d\n", number,
                 model.versionMajor, model.versionMinor, model.formatType.c_str(), model.floatSize, model.headerMajor,
                 model.headerMinor, model.headerFlags);

    std::fprintf(out, "Nb de vertrices : %d\n", mesh.vertexCount());
    int j = 1;
    for (const auto& p : mesh.vertices)
        std::fprintf(out, "p%d : x:%f, y:%f, z:%f\n", j++, double(p.x), double(p.y), double(p.z));

    std::fprintf(out, "Nb de faces : %d\n", mesh.faceCount());
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        std::fprintf(out, "f%d : nb:%d;", f + 1, face.cornerCount);
        for (std::int32_t k = 0; k < face.cornerCount; ++k) std::fprintf(out, " p%d:%d", k + 1, face.corners[k]);
        std::fputc('\n', out);
    }

    if (mesh.texCoords) {
        std::fprintf(out, "Nb de CoordTextures : %d\n", mesh.texCoordCount());
        j = 1;
        for (const auto& t : *mesh.texCoords) std::fprintf(out, "t%d : u:%f, v:%f\n", j++, double(t.u), double(t.v));
    }

    if (mesh.normals) {
        std::fprintf(out, "Nb de normales : %d\n", mesh.normalCount());
        j = 1;
        for (const auto& n : *mesh.normals)
            std::fprintf(out, "n%d : x:%f, y:%f, z:%f\n", j++, double(n.x), double(n.y), double(n.z));
    }

    if (mesh.faceMaterials) {
        std::fprintf(out, "Nb de materiel : %d, Nb materiel/face : %d\n", mesh.materialCount(), mesh.faceMaterialCount());
        j = 1;
        for (const auto index : *mesh.faceMaterials) std::fprintf(out, "m%d: %d\n", j++, index);
    }

    j = 1;
    for (const auto& material : mesh.materials)
        std::fprintf(out, "%s %d:\n%s\ntexture : %s\n", material.name.c_str(), j++, material.colors.Describe().c_str(),
                     material.textureFile.c_str());
}

}  // namespace

namespace report {

void WriteTextReport(const Model& model, std::FILE* out)
{
    int number = 1;
    for (const auto& mesh : model.meshes) WriteMesh(model, mesh, number++, out);
}

// An unwritable path writes nothing and shows nothing.
std::string SaveText(const Model& model, const std::string& path)
{
    platform::FileReplacement file(path);
    if (!file.Ok()) return file.Error();
    // A stream over the replacement: the report is written as it is made, not held whole in memory.
    const cookie_io_functions_t calls{nullptr, WriteToReplacement, nullptr, nullptr};
    std::FILE* out = fopencookie(&file, "w", calls);
    if (out == nullptr) return std::strerror(errno);
    WriteTextReport(model, out);
    const bool closed = std::fclose(out) == 0;
    if (!file.Ok()) return file.Error();
    if (!closed) return std::strerror(errno);
    return file.Commit();
}

void ShowInfo(const Model& model)
{
    int number = 1;
    for (const auto& mesh : model.meshes) {
        char text[1024];
        std::snprintf(text, sizeof text,
                      "\nMeshInfos n°%d : %s\nVersion : %.2d%.2d\ntype : %s\nfloat : %.4d\nHeader : %d.%d.%d\nVertexes : "
                      "%d, Faces : %d",
                      number++, mesh.name.c_str(), model.versionMajor, model.versionMinor, model.formatType.c_str(),
                      model.floatSize, model.headerMajor, model.headerMinor, model.headerFlags, mesh.vertexCount(),
                      mesh.faceCount());
        platform::ShowMessage(text, "Infos Mesh", platform::MessageKind::Plain);
    }
}

}  // namespace report
