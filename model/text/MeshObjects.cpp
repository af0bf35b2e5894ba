// Readers of the mesh data objects: "Mesh" (vertices and faces),
// "MeshTextureCoords" and "MeshMaterialList". Each count is checked against
// the lines that follow it before anything is sized from it.
#include "model/objects/MaterialRules.h"
#include "model/objects/MeshRules.h"
#include "model/objects/ObjectLabels.h"
#include "model/text/LineChunks.h"
#include "model/text/ReadErrors.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"
#include "platform/LargeBlocks.h"

#include <functional>

namespace {

constexpr const char* kReadMesh = "Model::ReadMesh";

// A face line holds its corner count, then its indices, each of at least one
// digit and separated by "," (some exporters use ";").
std::int32_t MostCornersOnLine(std::string_view indicesText)
{
    return static_cast<std::int32_t>((indicesText.size() + 1) / 2);
}

// The corner count a face line starts with, and the rest of the line after its ";".
std::int32_t CornerCountOf(std::string_view text, std::string_view& rest)
{
    std::int32_t cornerCount = 0;
    ScanSeparated(text, ';', cornerCount);
    rest = CutThrough(text, ';');
    return cornerCount;
}

bool CornerCountFits(std::int32_t cornerCount, std::string_view rest)
{
    return cornerCount >= 0 && cornerCount <= MostCornersOnLine(rest);
}

// Reads the `cornerCount` indices of `rest`, handing each to `put`; false,
// with `fault` filled but for its face, when one names no vertex.
template <class Put>
bool ReadFaceCorners(std::int32_t cornerCount, std::string_view rest, std::int32_t vertexCount,
                     TextReader::FaceFault& fault, Put&& put)
{
    for (std::int32_t k = 0; k < cornerCount; ++k) {
        std::int32_t index = 0;
        ScanIntField(rest, index);
        if (!objects::NamesOneOf(index, vertexCount)) {
            fault.kind = TextReader::FaceFault::Kind::BadIndex;
            fault.value = index;
            return false;
        }
        put(index);
        rest = CutThroughCommaOrSemicolon(rest);
    }
    return true;
}

// Whether a face line's corner count can be read, with `fault` filled but
// for its face when it cannot.
bool CornerCountReadable(std::int32_t cornerCount, std::string_view rest, TextReader::FaceFault& fault)
{
    fault.value = cornerCount;
    if (cornerCount < 0) {
        fault.kind = TextReader::FaceFault::Kind::NegativeCount;
        return false;
    }
    if (!CornerCountFits(cornerCount, rest)) {
        fault.kind = TextReader::FaceFault::Kind::TooManyCorners;
        return false;
    }
    return true;
}

// Reads one face line, handing each corner to `put`; false, with `fault`
// filled but for its face, when the line cannot be a face of the mesh.
template <class Put>
bool ReadFaceLine(std::string_view text, std::int32_t vertexCount, TextReader::FaceFault& fault, Put&& put)
{
    std::string_view rest;
    const std::int32_t cornerCount = CornerCountOf(text, rest);
    return CornerCountReadable(cornerCount, rest, fault) &&
           ReadFaceCorners(cornerCount, rest, vertexCount, fault, put);
}

// Hands each of the `count` lines from `firstLine` on to each(k, line), k
// counted from 0, by chunks of lines on every core, each chunk walking its
// lines in turn.
template <class Each>
void ForEachLineInChunks(const TextReader& reader, std::int32_t firstLine, std::size_t count, Each&& each)
{
    platform::ParallelFor(count, reading::kLinesPerChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        TextReader::LineCursor lines = reader.LinesFrom(firstLine + static_cast<std::int32_t>(begin));
        for (std::size_t k = begin; k < end; ++k) each(k, lines.Next());
    });
}

// How a chunk of face lines stopped: at a face it could not read, or, when
// every face was to have one corner count, at a face with another.
struct FaceStop {
    TextReader::FaceFault fault;
    bool otherCount = false;
};

// Writes `count` faces from `firstLine` on in place, on every core: chunk k
// writes its corners from firstCornerOf(k, its first face) on, in pools sized
// for `cornerTotal` corners. With `uniformCorners` above zero, a face of
// another corner count stops its chunk. `beside` runs once, as a chunk of its
// own. The first stop in face order, or nothing, and then the list.
template <class FirstCornerOf>
std::optional<FaceStop> WriteFacesInPlace(const TextReader& reader, std::int32_t firstLine, std::size_t count,
                                          std::int32_t vertexCount, std::size_t cornerTotal,
                                          FirstCornerOf&& firstCornerOf, std::int32_t uniformCorners,
                                          const std::function<void()>& beside, FaceList& faces)
{
    FaceList::Starts starts(count + 1);
    FaceList::Corners corners(cornerTotal);
    const std::optional<FaceStop> stop = reading::ReadLinesInChunksBeside<FaceStop>(
        count, beside, [&](std::size_t chunk, std::size_t first) {
            return [&, next = firstCornerOf(chunk, first),
                    lines = reader.LinesFrom(firstLine + static_cast<std::int32_t>(first))](std::size_t face,
                                                                                             FaceStop& stop) mutable {
                starts[face] = static_cast<std::uint32_t>(next);
                stop.fault.face = static_cast<std::int32_t>(face);
                std::string_view rest;
                const std::int32_t cornerCount = CornerCountOf(lines.Next(), rest);
                if (!CornerCountReadable(cornerCount, rest, stop.fault)) return false;
                stop.otherCount = uniformCorners > 0 && cornerCount != uniformCorners;
                return !stop.otherCount && ReadFaceCorners(cornerCount, rest, vertexCount, stop.fault,
                                                           [&](std::int32_t index) { corners[next++] = index; });
            };
        });
    if (stop) return stop;
    starts[count] = static_cast<std::uint32_t>(corners.size());
    faces = FaceList::FromPools(std::move(starts), std::move(corners));
    return std::nullopt;
}

}  // namespace

// The faces of `faceCount` lines from `firstLine` on. On one core, in one
// pass. On several, by chunks of lines, each writing its corners in place:
// nearly every file holds faces of one corner count, so every face is first
// taken to have as many as the first one, and each chunk knows where its
// corners go; when one has another count, the list is read again in two
// passes, each chunk counting its corners before it writes them from where
// the chunks before it end. A face that cannot be read stops its chunk
// there, and the list is not kept.
std::optional<TextReader::FaceFault> TextReader::ReadFaces(std::int32_t firstLine, std::int32_t faceCount,
                                                           std::int32_t vertexCount, FaceList& faces,
                                                           const std::function<void()>& beside) const
{
    const auto count = static_cast<std::size_t>(faceCount);
    const std::size_t chunks = platform::ChunkCount(count, reading::kLinesPerChunk);
    if (chunks < 2 || platform::ParallelThreadCount() == 1) {
        beside();
        return ReadFacesInOnePass(firstLine, faceCount, vertexCount, faces);
    }
    auto faultOf = [](const std::optional<FaceStop>& stop) {
        return stop ? std::optional(stop->fault) : std::nullopt;
    };

    std::string_view firstRest;
    const std::int32_t firstCorners = CornerCountOf(Line(firstLine), firstRest);
    // Every corner takes two bytes of the text at least: a count the first
    // line claims for a million faces sizes nothing beyond what the text holds.
    if (firstCorners > 0 && CornerCountFits(firstCorners, firstRest) &&
        count <= text_.size() / 2 / static_cast<std::size_t>(firstCorners)) {
        const auto perFace = static_cast<std::size_t>(firstCorners);
        const std::optional<FaceStop> stop = WriteFacesInPlace(
            *this, firstLine, count, vertexCount, count * perFace,
            [perFace](std::size_t, std::size_t first) { return first * perFace; }, firstCorners, beside, faces);
        if (!stop || !stop->otherCount) return faultOf(stop);
    } else {
        beside();
    }

    std::vector<std::size_t> chunkStarts(chunks + 1, 0);
    platform::ParallelFor(count, reading::kLinesPerChunk, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        std::size_t total = 0;
        LineCursor lines = LinesFrom(firstLine + static_cast<std::int32_t>(begin));
        for (std::size_t face = begin; face < end; ++face) {
            std::string_view rest;
            const std::int32_t cornerCount = CornerCountOf(lines.Next(), rest);
            if (CornerCountFits(cornerCount, rest)) total += static_cast<std::size_t>(cornerCount);
        }
        chunkStarts[chunk + 1] = total;
    });
    for (std::size_t chunk = 1; chunk <= chunks; ++chunk) chunkStarts[chunk] += chunkStarts[chunk - 1];
    return faultOf(WriteFacesInPlace(
        *this, firstLine, count, vertexCount, chunkStarts.back(),
        [&](std::size_t chunk, std::size_t) { return chunkStarts[chunk]; }, 0, [] {}, faces));
}

std::optional<TextReader::FaceFault> TextReader::ReadFacesInOnePass(std::int32_t firstLine, std::int32_t faceCount,
                                                                    std::int32_t vertexCount, FaceList& faces) const
{
    const auto count = static_cast<std::size_t>(faceCount);
    FaceList::Starts starts;
    FaceList::Corners corners;
    // Room for the usual triangles or quads; other polygons make the pool grow.
    std::int32_t firstCorners = 0;
    ScanSeparated(Line(firstLine), ';', firstCorners);
    starts.reserve(count + 1);
    corners.reserve(count * (firstCorners == 3 ? 3 : 4));
    FaceFault fault;
    LineCursor lines = LinesFrom(firstLine);
    for (std::int32_t face = 0; face < faceCount; ++face) {
        starts.push_back(static_cast<std::uint32_t>(corners.size()));
        fault.face = face;
        if (!ReadFaceLine(lines.Next(), vertexCount, fault,
                          [&](std::int32_t index) { corners.push_back(index); }))
            return fault;
    }
    if (count > 0) starts.push_back(static_cast<std::uint32_t>(corners.size()));
    faces = FaceList::FromPools(std::move(starts), std::move(corners));
    return std::nullopt;
}

HRESULT TextReader::ReadMesh(std::int32_t line)
{
    currentMesh_.name = objects::NameOrUnnamed(NameWord(SplitWords(Line(line))));
    currentMesh_.frame = openFrames_.empty() ? -1 : openFrames_.back();
    // The label is built only for a message: most meshes never need one.
    auto object = [this] { return objects::ObjectLabel("Mesh", currentMesh_.name); };

    std::int32_t countLine = line + 1;
    while (countLine < lineCount() && Line(countLine).size() < 2) ++countLine;
    std::int32_t vertexCount = 0;
    Scan(Line(countLine), "%d;", vertexCount);
    if (!CountFits(vertexCount, countLine + 1))
        return reading::ReportBadCount(*this, object(), vertexCount, countLine, kReadMesh);
    const std::int32_t faceCountLine = countLine + vertexCount + 1;
    std::int32_t faceCount = 0;
    Scan(Line(faceCountLine), "%d;", faceCount);
    if (!CountFits(faceCount, faceCountLine + 1))
        return reading::ReportBadCount(*this, object(), faceCount, faceCountLine, kReadMesh);

    // The faces first: while one core sizes (and so zeroes) the list of
    // vertices, the other begins on them; the vertices are read after.
    currentMesh_.faces = FaceList();
    const std::optional<FaceFault> fault =
        ReadFaces(faceCountLine + 1, faceCount, vertexCount, currentMesh_.faces, [&] {
            currentMesh_.vertices = MeshRecord::VertexList(static_cast<std::size_t>(vertexCount));
        });
    if (!fault) {
        ForEachLineInChunks(*this, countLine + 1, currentMesh_.vertices.size(), [&](std::size_t k, std::string_view text) {
            Vector3& vertex = currentMesh_.vertices[k];
            ScanSeparated(text, ';', vertex.x, vertex.y, vertex.z);
        });
        return S_OK;
    }
    const std::int32_t faceLine = faceCountLine + 1 + fault->face;
    switch (fault->kind) {
    case FaceFault::Kind::NegativeCount:
        return reading::ReportBadCount(*this, object(), fault->value, faceLine, kReadMesh);
    case FaceFault::Kind::TooManyCorners:
        return reading::ReportBadCornerCount(*this, object(), fault->value, faceLine, kReadMesh);
    case FaceFault::Kind::BadIndex:
        break;
    }
    return reading::ReportBadIndex(*this, object(), "sommet", "sommets", fault->value, vertexCount, faceLine, kReadMesh);
}

HRESULT TextReader::ReadMeshTextureCoords(std::int32_t line)
{
    std::int32_t count = 0;
    Scan(Line(line + 1), "%d;", count);
    if (!CountFits(count, line + 2))
        return reading::ReportBadCount(*this, objects::MeshPartLabel("MeshTextureCoords", currentMesh_.name), count,
                                       line + 1, "Model::ReadMeshTextureCoords");
    MeshRecord::TexCoordList texCoords(static_cast<std::size_t>(count));
    ForEachLineInChunks(*this, line + 2, texCoords.size(), [&](std::size_t k, std::string_view text) {
        ScanSeparated(text, ';', texCoords[k].u, texCoords[k].v);
    });
    currentMesh_.texCoords = std::move(texCoords);
    return S_OK;
}

HRESULT TextReader::ReadMeshMaterialList(std::int32_t line)
{
    constexpr const char* kOperation = "Model::ReadMeshMaterialList";
    auto object = [this] { return objects::MeshPartLabel("MeshMaterialList", currentMesh_.name); };
    materialCursor_ = 0;

    // Every material of the list takes at least one line below its count.
    std::int32_t materialCount = 0;
    Scan(Line(line + 1), "%d;", materialCount);
    if (!CountFits(materialCount, line + 2))
        return reading::ReportBadCount(*this, object(), materialCount, line + 1, kOperation);
    currentMesh_.materials = objects::UnfilledMaterials(static_cast<std::size_t>(materialCount));

    std::int32_t faceMaterialCount = 0;
    Scan(Line(line + 2), "%d;", faceMaterialCount);
    if (!CountFits(faceMaterialCount, line + 3))
        return reading::ReportBadCount(*this, object(), faceMaterialCount, line + 2, kOperation);
    MeshRecord::FaceMaterialList faceMaterials(static_cast<std::size_t>(faceMaterialCount));
    struct BadMaterial {
        std::int32_t face;
        std::int32_t index;
    };
    const std::optional<BadMaterial> bad = reading::ReadLinesInChunks<BadMaterial>(faceMaterials.size(), [&](std::size_t, std::size_t first) {
        return [&, lines = LinesFrom(line + 3 + static_cast<std::int32_t>(first))](std::size_t face, BadMaterial& fault) mutable {
            std::int32_t& index = faceMaterials[face];
            ScanSeparated(lines.Next(), ',', index);  // "%d": what follows the number is not read
            fault = {static_cast<std::int32_t>(face), index};
            return objects::NamesOneOf(index, materialCount);
        };
    });
    if (bad)
        return reading::ReportBadIndex(*this, object(), "matériau", "matériaux", bad->index, materialCount,
                                       line + 3 + bad->face, kOperation);
    currentMesh_.faceMaterials = std::move(faceMaterials);
    return S_OK;
}
