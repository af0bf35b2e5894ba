#include "model/binary/ModelFromObjects.h"

#include "model/objects/AnimationRules.h"
#include "model/objects/MaterialRules.h"
#include "model/objects/MeshRules.h"
#include "model/objects/ObjectLabels.h"
#include "model/objects/SceneRules.h"
#include "model/binary/AnimationObjects.h"
#include "model/binary/ObjectNumbers.h"
#include "model/binary/Refusal.h"
#include "model/binary/SurfaceObjects.h"
#include "platform/AsciiCase.h"

#include <algorithm>

namespace xfile {

namespace {

constexpr const char* kOperation = "ReadBinaryModel";

// Values read straight from a run before the reader takes them (and may
// give them back).
constexpr std::size_t kPiece = platform::kForgetStepBytes / sizeof(std::uint32_t);

// `count` records of floats (Vector3, TexCoord) from the next numbers,
// written by pieces: the records read and the values given back keep pace.
template <class List>
bool ReadFloatRecords(Numbers& numbers, std::size_t count, List& out)
{
    using Record = typename List::value_type;
    constexpr std::size_t floats = sizeof(Record) / sizeof(float);
    static_assert(sizeof(Record) == floats * sizeof(float));
    if (count > numbers.remaining() / floats) return false;
    out.reserve(count);
    while (out.size() < count) {
        const std::size_t done = out.size();
        const std::size_t n = std::min(count - done, std::max<std::size_t>(kPiece / floats, 1));
        out.resize(done + n);
        numbers.NextFloats(out.data() + done, n * floats);
    }
    return true;
}

bool Is(const DataObject& object, std::string_view type) { return platform::EqualIgnoringAsciiCase(object.type, type); }

class Filler {
public:
    // `consumable`, when given, is `document`, given up by its reader: the
    // large lists go back to the system as they are read.
    Filler(const Document& document, Document* consumable) : document_(document), consumable_(consumable) {}

    bool Fill(Model& model, std::string& error)
    {
        model_ = &model;
        for (const std::uint32_t root : document_.roots)
            if (!Walk(document_.objects[root], nullptr)) {
                error = error_;
                return false;
            }
        return true;
    }

private:
    bool Refuse(const std::string& what)
    {
        error_ = detail::LoadError(what, kOperation);
        return false;
    }
    bool CountBeyondData(const std::string& object, std::uint64_t count)
    {
        return Refuse(object + " annonce " + std::to_string(count) + " éléments, plus que ses données n'en contiennent");
    }
    bool WrongData(const std::string& object)
    {
        return Refuse(object + " ne contient pas les nombres attendus à leur place");
    }
    bool BadIndex(const std::string& mesh, std::uint32_t index, std::uint32_t vertexCount)
    {
        return Refuse("l'indice de sommet " + std::to_string(index) + " de " + mesh + " n'existe pas (" +
                      std::to_string(vertexCount) + " sommets)");
    }
    bool BadMaterial(const std::string& list, std::uint32_t value, std::uint32_t materialCount)
    {
        return Refuse("l'indice de matériau " + std::to_string(value) + " de " + list + " n'existe pas (" +
                      std::to_string(materialCount) + " matériaux)");
    }
    std::string MeshLabel(const char* objectWord, const MeshRecord& mesh) const
    {
        return objects::MeshPartLabel(objectWord, detail::Cleaned(mesh.name));
    }

    // The children of `object`, in file order, each walked with `object` as parent.
    bool WalkChildren(const DataObject& object, MeshRecord* mesh)
    {
        for (const DataPart& part : document_.PartsOf(object))
            if (const DataObject* child = document_.ObjectOf(part))
                if (!WalkChild(*child, object, mesh)) return false;
        return true;
    }

    bool WalkChild(const DataObject& child, const DataObject& parent, MeshRecord* mesh)
    {
        if (mesh && Is(parent, "Mesh")) {
            if (Is(child, "MeshMaterialList")) return ReadMaterialList(child, *mesh);
            if (Is(child, "MeshTextureCoords")) return ReadTextureCoords(child, *mesh);
            if (Is(child, "SkinWeights")) {
                ReadSkinWeights(child, *mesh);
                return true;
            }
            // Kept when they fit; never a cause to refuse a file.
            if (Is(child, "MeshNormals")) {
                ReadMeshNormals(document_, child, *mesh);
                return true;
            }
            if (Is(child, "MeshVertexColors")) {
                ReadMeshVertexColors(document_, child, *mesh);
                return true;
            }
        }
        if (Is(child, "FrameTransformMatrix")) {
            if (Is(parent, "Frame") && !openFrames_.empty()) ReadFrameTransform(child);
            return true;
        }
        if (Is(child, "Animation") && Is(parent, "AnimationSet") && !openSets_.empty())
            model_->animationSets[openSets_.back()].animations.push_back(ReadAnimation(document_, child));
        return Walk(child, mesh);
    }

    bool Walk(const DataObject& object, MeshRecord* enclosingMesh)
    {
        if (Is(object, "Header")) {
            Numbers numbers(document_, object);
            auto value = [&]() -> std::optional<std::int32_t> {
                std::uint32_t number = 0;
                if (!numbers.NextInteger(number)) return std::nullopt;
                return static_cast<std::int32_t>(number);
            };
            const std::optional<std::int32_t> major = value(), minor = value(), flags = value();
            objects::KeepHeader(*model_, major, minor, flags);
            return true;
        }
        if (Is(object, "Mesh")) return ReadMesh(object);
        if (Is(object, "Material")) {
            ReadSharedMaterial(object);
            return true;
        }
        if (Is(object, "Frame")) {
            objects::OpenFrame(*model_, openFrames_, object.name);
            const bool walked = WalkChildren(object, enclosingMesh);
            openFrames_.pop_back();
            return walked;
        }
        if (Is(object, "AnimationSet")) {
            openSets_.push_back(model_->animationSets.size());
            model_->animationSets.emplace_back().name = LimitName(object.name);
            const bool walked = WalkChildren(object, enclosingMesh);
            openSets_.pop_back();
            return walked;
        }
        if (Is(object, "AnimTicksPerSecond")) ReadTicksPerSecond(document_, object, *model_);
        return WalkChildren(object, enclosingMesh);  // meshes may stand inside any object
    }

    bool ReadMesh(const DataObject& object)
    {
        MeshRecord mesh;
        mesh.name = objects::NameOrUnnamed(object.name);
        mesh.frame = openFrames_.empty() ? -1 : openFrames_.back();
        const std::string label = objects::ObjectLabel("Mesh", detail::Cleaned(mesh.name));
        // A mesh is read once, from the walk of its parent.
        Numbers numbers(document_, object, consumable_);

        std::uint32_t vertexCount = 0;
        if (!numbers.NextInteger(vertexCount)) return WrongData(label);
        if (vertexCount > numbers.remaining() / 3) return CountBeyondData(label, vertexCount);
        if (!ReadFloatRecords(numbers, vertexCount, mesh.vertices)) return WrongData(label);

        std::uint32_t faceCount = 0;
        if (!numbers.NextInteger(faceCount)) return WrongData(label);
        if (faceCount > numbers.remaining()) return CountBeyondData(label, faceCount);
        // Where each face starts among the corners, then the end, as FaceList keeps them.
        FaceList::Starts starts;
        FaceList::Corners corners;
        if (faceCount > 0) {
            starts.reserve(std::size_t{faceCount} + 1);
            starts.push_back(0);
            corners.reserve(std::min<std::size_t>(numbers.remaining(), std::size_t{faceCount} * 4));
        }
        for (std::uint32_t face = 0; face < faceCount;) {
            // The faces that lie whole in the run ahead, read straight from it.
            const std::span<const std::uint32_t> ahead = numbers.IntegersAhead();
            std::size_t used = 0;
            for (; face < faceCount && used < ahead.size() && used < kPiece; ++face) {
                const std::uint32_t cornerCount = ahead[used];
                if (cornerCount >= ahead.size() - used) break;
                const std::span<const std::uint32_t> indices = ahead.subspan(used + 1, cornerCount);
                for (const std::uint32_t index : indices)
                    if (!objects::NamesOneOf(index, vertexCount)) return BadIndex(label, index, vertexCount);
                corners.insert(corners.end(), indices.begin(), indices.end());
                starts.push_back(static_cast<std::uint32_t>(corners.size()));
                used += 1 + cornerCount;
            }
            numbers.Advance(used);
            if (face == faceCount || used > 0) continue;
            // A face across runs, or one that does not fit: value by value.
            std::uint32_t cornerCount = 0;
            if (!numbers.NextInteger(cornerCount)) return WrongData(label);
            if (cornerCount > numbers.remaining()) return CountBeyondData(label, cornerCount);
            for (std::uint32_t k = 0; k < cornerCount; ++k) {
                std::uint32_t index = 0;
                if (!numbers.NextInteger(index)) return WrongData(label);
                if (!objects::NamesOneOf(index, vertexCount)) return BadIndex(label, index, vertexCount);
                corners.push_back(static_cast<std::int32_t>(index));
            }
            starts.push_back(static_cast<std::uint32_t>(corners.size()));
            ++face;
        }
        mesh.faces = FaceList::FromPools(std::move(starts), std::move(corners));

        if (!WalkChildren(object, &mesh)) return false;
        mesh.CompleteMaterialList();
        model_->meshes.push_back(std::move(mesh));
        return true;
    }

    bool ReadTextureCoords(const DataObject& object, MeshRecord& mesh)
    {
        // Read once: its parent's walk goes no further into it.
        Numbers numbers(document_, object, consumable_);
        const std::string label = MeshLabel("MeshTextureCoords", mesh);
        std::uint32_t count = 0;
        if (!numbers.NextInteger(count)) return WrongData(label);
        if (count > numbers.remaining() / 2) return CountBeyondData(label, count);
        MeshRecord::TexCoordList texCoords;
        if (!ReadFloatRecords(numbers, count, texCoords)) return WrongData(label);
        mesh.texCoords = std::move(texCoords);
        return true;
    }

    bool ReadMaterialList(const DataObject& object, MeshRecord& mesh)
    {
        // Read once, as the texture coordinates; its materials are objects of their own.
        Numbers numbers(document_, object, consumable_);
        const std::string label = MeshLabel("MeshMaterialList", mesh);
        std::uint32_t materialCount = 0, faceMaterialCount = 0;
        if (!numbers.NextInteger(materialCount)) return WrongData(label);
        // A list may leave slots to its defaults, but no more of them than its
        // data holds values: its members (objects, references) and numbers.
        std::size_t members = 0;
        for (const DataPart& part : document_.PartsOf(object))
            members += part.kind == PartKind::Object || part.kind == PartKind::References ? part.count : 0;
        if (materialCount > members + numbers.remaining()) return CountBeyondData(label, materialCount);
        if (!numbers.NextInteger(faceMaterialCount)) return WrongData(label);
        if (faceMaterialCount > numbers.remaining()) return CountBeyondData(label, faceMaterialCount);
        MeshRecord::FaceMaterialList faceMaterials(faceMaterialCount);  // every value written below, or refused
        for (std::size_t next = 0; next < faceMaterials.size();) {
            // Straight from the run ahead; value by value across runs.
            const std::span<const std::uint32_t> ahead = numbers.IntegersAhead();
            const std::size_t n = std::min({ahead.size(), faceMaterials.size() - next, kPiece});
            if (n == 0) return WrongData(label);  // a float, or nothing, where an integer belongs
            for (std::size_t k = 0; k < n; ++k) {
                if (!objects::NamesOneOf(ahead[k], materialCount)) return BadMaterial(label, ahead[k], materialCount);
                faceMaterials[next + k] = static_cast<std::int32_t>(ahead[k]);
            }
            numbers.Advance(n);
            next += n;
        }
        mesh.materials = objects::UnfilledMaterials(materialCount);
        mesh.faceMaterials = std::move(faceMaterials);

        // Inline materials and references fill the slots in file order; every
        // shared material of a referenced name fills one.
        std::int32_t cursor = 0;
        for (const DataPart& part : document_.PartsOf(object)) {
            if (const DataObject* child = document_.ObjectOf(part)) {
                if (Is(*child, "Material")) objects::PlaceMaterial(mesh, cursor, ReadMaterialObject(*child));
                continue;
            }
            for (const Reference& reference : document_.ReferencesOf(part))
                sharedMaterials_.PlaceReferenced(reference.name, model_->sharedMaterials, mesh, cursor);
        }
        return true;
    }

    MaterialRecord ReadMaterialObject(const DataObject& object)
    {
        MaterialRecord material;
        material.name = objects::NameOrUnnamed(object.name);
        Numbers numbers(document_, object);
        objects::MaterialValues values;
        for (float& value : values.face) value = numbers.FloatOrZero();
        if (float power = 0; numbers.NextFloat(power)) values.power = power;
        for (float& value : values.specular) value = numbers.FloatOrZero();
        for (float& value : values.emissive) value = numbers.FloatOrZero();
        material.colors = objects::MaterialColorsOf(values);
        for (const DataPart& part : document_.PartsOf(object))
            if (const DataObject* child = document_.ObjectOf(part); child && Is(*child, "TextureFilename"))
                ReadTextureNames(*child, material);
        return material;
    }

    // The first string of a "TextureFilename" is its name, kept in order;
    // the material's texture is the first name that is not empty.
    void ReadTextureNames(const DataObject& object, MaterialRecord& material)
    {
        bool named = false;
        for (const DataPart& part : document_.PartsOf(object))
            for (const std::string& name : document_.StringsOf(part)) {
                if (!named) material.textureFiles.push_back(name);
                named = true;
                if (material.textureFile.empty()) material.textureFile = name;
            }
    }

    void ReadSharedMaterial(const DataObject& object)
    {
        sharedMaterials_.Add(model_->sharedMaterials, ReadMaterialObject(object));
    }

    void ReadFrameTransform(const DataObject& object)
    {
        Numbers numbers(document_, object);
        // Not whole: the frame keeps no matrix.
        if (const std::optional<Matrix4> matrix = objects::ReadMatrix(numbers))
            model_->frames[static_cast<std::size_t>(openFrames_.back())].transform = *matrix;
    }

    void ReadSkinWeights(const DataObject& object, MeshRecord& mesh)
    {
        std::string bone;
        for (const DataPart& part : document_.PartsOf(object))
            for (const std::string& name : document_.StringsOf(part))
                if (bone.empty()) bone = name;
        Numbers numbers(document_, object);
        if (std::optional<SkinWeightsRecord> skin = objects::ReadSkinWeights(numbers, bone))
            mesh.skinWeights.push_back(std::move(*skin));
    }

    const Document& document_;
    Document* consumable_;
    Model* model_ = nullptr;
    std::vector<std::int32_t> openFrames_;
    std::vector<std::size_t> openSets_;  // the sets being walked, in Model::animationSets
    objects::SharedMaterials sharedMaterials_;
    std::string error_;
};

}  // namespace

namespace {

std::optional<Model> Build(const Document& document, Document* consumable, std::string& error)
{
    Model model;
    if (!Filler(document, consumable).Fill(model, error)) return std::nullopt;
    animation_rules::ResolveFrames(model);
    return model;
}

}  // namespace

std::optional<Model> ModelFromObjects(const Document& document, std::string& error)
{
    return Build(document, nullptr, error);
}

std::optional<Model> ModelFromObjects(Document&& document, std::string& error)
{
    Document owned = std::move(document);
    return Build(owned, &owned, error);
}

}  // namespace xfile
