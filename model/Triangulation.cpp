#include "model/Model.h"
#include "model/FanTriangleCount.h"
#include "platform/ParallelFor.h"

#include <algorithm>

namespace {

// Faces a thread fans at once in a large mesh; a smaller mesh is fanned on
// the calling thread.
constexpr std::size_t kFacesPerChunk = std::size_t{1} << 15;

// What faces [begin, end) become: the fans' faces (counted by the rule that
// refuses too many) and corners.
struct FanSize {
    records::FanTriangleCount faces;
    std::size_t corners = 0;
};

FanSize SizeOfFans(const FaceList& faces, std::size_t begin, std::size_t end)
{
    FanSize size;
    for (std::size_t f = begin; f < end; ++f) {
        const std::int32_t n = faces[static_cast<std::int32_t>(f)].cornerCount;
        size.faces.Add(n);
        size.corners += n >= 3 ? 3 * (static_cast<std::size_t>(n) - 2) : static_cast<std::size_t>(n);
    }
    return size;
}

// Where a chunk's fans begin in the new lists.
struct FanStart {
    std::size_t faces = 0;
    std::size_t corners = 0;
};

// The new lists of a mesh, written in place: each chunk of faces writes its
// fans from where the fans of the chunks before it end.
struct Fans {
    FaceList::Starts starts;
    FaceList::Corners corners;
    MeshRecord::FaceMaterialList materials;   // when the materials cover the faces
    std::vector<std::int32_t> cornerNormals;  // when the faces have stored normals
};

void WriteFans(const MeshRecord& mesh, std::size_t begin, std::size_t end, FanStart at, Fans& out)
{
    const std::vector<std::int32_t>* cornerNormals = mesh.storedNormals ? &mesh.storedNormals->cornerNormals : nullptr;
    const bool withMaterials = !out.materials.empty();
    auto corner = [&](std::size_t from, std::int32_t vertex) {
        out.corners[at.corners] = vertex;
        if (cornerNormals) out.cornerNormals[at.corners] = (*cornerNormals)[from];
        ++at.corners;
    };
    auto endFace = [&](std::size_t f) {
        if (withMaterials) out.materials[at.faces] = (*mesh.faceMaterials)[f];
        out.starts[++at.faces] = static_cast<std::uint32_t>(at.corners);
    };
    for (std::size_t f = begin; f < end; ++f) {
        const FaceRecord face = mesh.faces[static_cast<std::int32_t>(f)];
        const std::int32_t* c = face.corners;
        const std::size_t first = mesh.faces.FirstCorner(static_cast<std::int32_t>(f));
        if (face.cornerCount < 3) {
            for (std::int32_t k = 0; k < face.cornerCount; ++k) corner(first + static_cast<std::size_t>(k), c[k]);
            endFace(f);
            continue;
        }
        for (std::int32_t e = 2; e < face.cornerCount; ++e) {
            corner(first, c[0]);
            corner(first + static_cast<std::size_t>(e) - 1, c[e - 1]);
            corner(first + static_cast<std::size_t>(e), c[e]);
            endFace(f);
        }
    }
}

// Replaces every polygon by a fan around its first corner, keeping its
// winding, its material and the stored normal of each corner. Faces of fewer
// than three corners stay as they are, one face each. A large mesh is cut
// into chunks of faces: each is sized, then written where it belongs, so the
// lists are those one thread writes. False when the triangles would be too many.
bool TriangulateMesh(MeshRecord& mesh)
{
    const auto faceCount = static_cast<std::size_t>(mesh.faceCount());
    const std::size_t chunks = platform::ChunkCount(faceCount, kFacesPerChunk);
    std::vector<FanSize> sizes(chunks);
    platform::ParallelFor(faceCount, kFacesPerChunk, [&](std::size_t k, std::size_t begin, std::size_t end) {
        sizes[k] = SizeOfFans(mesh.faces, begin, end);
    });
    records::FanTriangleCount count;
    for (const FanSize& size : sizes) count += size.faces;
    const std::optional<std::int32_t> total = count.Total();
    if (!total) return false;
    if (*total <= mesh.faceCount()) return true;  // only triangles (or smaller faces): nothing to split

    // The stored normals name corners in face order: they follow the fans.
    if (mesh.storedNormals && mesh.storedNormals->cornerNormals.size() != mesh.faces.cornerTotal())
        mesh.storedNormals.reset();  // they no longer describe these faces
    const bool materialsCoverFaces = mesh.faceMaterials && mesh.faceMaterialCount() == mesh.faceCount();

    std::vector<FanStart> starts(chunks + 1);  // where each chunk's fans begin, then the totals
    for (std::size_t k = 0; k < chunks; ++k)  // each part is no more than the total, which fits
        starts[k + 1] = {starts[k].faces + static_cast<std::size_t>(*sizes[k].faces.Total()),
                         starts[k].corners + sizes[k].corners};

    Fans fans;
    fans.starts.resize(starts[chunks].faces + 1);
    fans.starts[0] = 0;  // the chunks write where each face ends
    fans.corners.resize(starts[chunks].corners);
    if (materialsCoverFaces) fans.materials.resize(starts[chunks].faces);
    if (mesh.storedNormals) fans.cornerNormals.resize(starts[chunks].corners);
    platform::ParallelFor(faceCount, kFacesPerChunk, [&](std::size_t k, std::size_t begin, std::size_t end) {
        WriteFans(mesh, begin, end, starts[k], fans);
    });

    mesh.faces = FaceList::FromPools(std::move(fans.starts), std::move(fans.corners));
    if (materialsCoverFaces) mesh.faceMaterials = std::move(fans.materials);
    if (mesh.storedNormals) mesh.storedNormals->cornerNormals = std::move(fans.cornerNormals);
    return true;
}

}  // namespace

std::vector<platform::Message> Model::TriangulateFaces()
{
    std::vector<platform::Message> messages;
    for (auto& mesh : meshes)
        if (!TriangulateMesh(mesh)) messages.push_back({"pb pu assez de faces !!!", "error", platform::MessageKind::Plain});
    return messages;
}
