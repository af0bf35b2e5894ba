// Every mesh as glTF geometry: its vertices as drawn (a vertex whose corners
// take different stored normals split, as the viewer splits it), mirrored
// into glTF's axes with its faces turned counter-clockwise, one primitive per
// material used, and its skin.
#include "gltf/Axes.h"
#include "gltf/Document.h"

#include "model/AuthoredSurface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace gltf_export {
namespace {

bool Finite(float v) { return std::isfinite(v); }

// Unit length in float, or nothing when the vector has no direction.
std::optional<Vector3> Unit(Vector3 v)
{
    if (!Finite(v.x) || !Finite(v.y) || !Finite(v.z)) return std::nullopt;
    const double length = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (!(length > 1e-20)) return std::nullopt;
    return Vector3{static_cast<float>(v.x / length), static_cast<float>(v.y / length), static_cast<float>(v.z / length)};
}

struct Influence {
    std::uint16_t joint = 0;
    float weight = 0;
};

// What a skinned mesh's vertices hang from: the joints (nodes) with their
// inverse bind matrices, and each vertex's influences, merged per joint and
// summing to one.
struct Skin {
    std::vector<int> joints;
    std::vector<Matrix4> inverseBinds;  // DirectX values, mirrored when written
    std::vector<std::uint32_t> starts;  // vertex v: influences[starts[v] .. starts[v + 1])
    std::vector<Influence> influences;
    std::size_t setsOfFour = 0;
};

// The first frame of each name, as the pose finds a skin's bone.
using FramesByName = std::unordered_map<std::string_view, std::size_t>;

std::optional<Skin> SkinOf(ExportContext& context, const FramesByName& frames, const MeshRecord& mesh)
{
    if (mesh.skinWeights.empty()) return std::nullopt;
    Notices& notices = context.document.notices;
    Skin skin;
    std::map<int, std::uint16_t> jointOfNode;
    const auto jointFor = [&](int node, const Matrix4& inverseBind) -> std::optional<std::uint16_t> {
        if (const auto found = jointOfNode.find(node); found != jointOfNode.end()) return found->second;
        if (skin.joints.size() >= std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
        const auto joint = static_cast<std::uint16_t>(skin.joints.size());
        skin.joints.push_back(node);
        skin.inverseBinds.push_back(inverseBind);
        jointOfNode.emplace(node, joint);
        return joint;
    };

    const std::size_t vertexCount = mesh.vertices.size();
    // Each vertex's influences, counted, then placed (linear in the weights).
    struct Weighed {
        std::uint32_t vertex;
        std::uint16_t joint;
        float weight;
    };
    std::vector<Weighed> weighed;
    for (const SkinWeightsRecord& weights : mesh.skinWeights) {
        const auto frame = frames.find(weights.boneName);
        if (frame == frames.end()) {
            notices.Add("a skin whose bone is not a frame: left out");
            continue;
        }
        bool exact = true;
        Matrix4 offset = axes::Finite(weights.offset) ? axes::Affine(weights.offset, exact) : Matrix4{};
        if (!axes::Finite(weights.offset)) exact = false;
        if (!exact) notices.Add("a bone offset matrix that is not finite or has shear: written as the nearest affine one");
        const auto joint = jointFor(context.frameNodes[frame->second], offset);
        if (!joint) {
            notices.Add("a skin beyond 65535 bones: left out");
            continue;
        }
        const std::size_t count = std::min(weights.vertexIndices.size(), weights.weights.size());
        for (std::size_t i = 0; i < count; ++i) {
            const std::int32_t vertex = weights.vertexIndices[i];
            const float weight = weights.weights[i];
            if (vertex < 0 || static_cast<std::size_t>(vertex) >= vertexCount) continue;  // as the pose leaves them out
            if (!(weight > 0) || !Finite(weight)) {
                if (weight != 0) notices.Add("a skin weight below zero or not finite: left out");
                continue;
            }
            weighed.push_back({static_cast<std::uint32_t>(vertex), *joint, weight});
        }
    }
    if (skin.joints.empty()) return std::nullopt;

    std::vector<std::uint32_t> counts(vertexCount + 1, 0);
    for (const Weighed& w : weighed) ++counts[w.vertex + 1];
    skin.starts.assign(vertexCount + 1, 0);
    for (std::size_t v = 0; v < vertexCount; ++v) skin.starts[v + 1] = skin.starts[v] + std::max<std::uint32_t>(counts[v + 1], 1);
    skin.influences.assign(skin.starts.back(), {});
    std::vector<std::uint32_t> filled(vertexCount, 0);
    for (const Weighed& w : weighed) skin.influences[skin.starts[w.vertex] + filled[w.vertex]++] = {w.joint, w.weight};

    // A vertex no bone weighs follows its mesh's frame, as the pose places it.
    std::optional<std::uint16_t> own;
    std::size_t most = 1;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        Influence* first = skin.influences.data() + skin.starts[v];
        std::size_t n = filled[v];
        // One influence per joint: two skins of one bone add up.
        std::sort(first, first + n, [](const Influence& a, const Influence& b) { return a.joint < b.joint; });
        std::size_t kept = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (kept > 0 && first[kept - 1].joint == first[i].joint)
                first[kept - 1].weight += first[i].weight;
            else
                first[kept++] = first[i];
        }
        double sum = 0;
        for (std::size_t i = 0; i < kept; ++i) sum += first[i].weight;
        if (kept == 0 || !(sum > 0) || !std::isfinite(sum)) {
            if (!own) {
                const int node = mesh.frame >= 0 && static_cast<std::size_t>(mesh.frame) < context.frameNodes.size()
                                     ? context.frameNodes[static_cast<std::size_t>(mesh.frame)]
                                     : context.rootNode;
                own = jointFor(node, Matrix4{});
                if (!own) own = 0;
            }
            first[0] = {*own, 1.0f};
            kept = 1;
        } else {
            // Weights summing to one in float, the largest taking what rounding leaves.
            std::size_t largest = 0;
            for (std::size_t i = 0; i < kept; ++i) {
                first[i].weight = static_cast<float>(first[i].weight / sum);
                if (first[i].weight > first[largest].weight) largest = i;
            }
            float rest = 1.0f;
            for (std::size_t i = 0; i < kept; ++i)
                if (i != largest) rest -= first[i].weight;
            first[largest].weight = std::max(rest, 0.0f);
        }
        for (std::size_t i = kept; i < skin.starts[v + 1] - skin.starts[v]; ++i) first[i] = {0, 0.0f};
        most = std::max(most, kept);
    }
    skin.setsOfFour = (most + 3) / 4;
    return skin;
}

}  // namespace

void AddMeshes(ExportContext& context, MaterialTable& materials)
{
    const Model& model = context.model;
    Document& document = context.document;
    tinygltf::Model& gltf = document.gltf;

    std::vector<std::size_t> meshesOnFrame(model.frames.size() + 1, 0);
    const auto frameSlot = [&](const MeshRecord& mesh) {
        return mesh.frame >= 0 && static_cast<std::size_t>(mesh.frame) < model.frames.size()
                   ? static_cast<std::size_t>(mesh.frame)
                   : model.frames.size();
    };
    for (const MeshRecord& mesh : model.meshes) ++meshesOnFrame[frameSlot(mesh)];
    FramesByName framesByName;
    for (std::size_t f = 0; f < model.frames.size(); ++f) framesByName.emplace(model.frames[f].name, f);

    for (const MeshRecord& mesh : model.meshes) {
        const std::optional<SplitSurface> split = SplitByStoredNormals(mesh);
        const std::size_t drawn = split ? split->drawnCount() : mesh.vertices.size();
        const auto source = [&](std::size_t d) { return split ? static_cast<std::size_t>(split->Source(d)) : d; };

        // The triangles of each material, turned counter-clockwise: counted,
        // then written in place in the buffer.
        const std::size_t materialCount = std::max<std::size_t>(mesh.materials.size(), 1);
        const auto materialOf = [&](std::int32_t f) -> std::size_t {
            if (!mesh.faceMaterials || static_cast<std::size_t>(f) >= mesh.faceMaterials->size()) return 0;
            const std::int32_t m = (*mesh.faceMaterials)[static_cast<std::size_t>(f)];
            return m >= 0 && static_cast<std::size_t>(m) < materialCount ? static_cast<std::size_t>(m) : 0;
        };
        const auto valid = [&](const FaceRecord& face, std::int32_t c) {
            return face.corners[c] >= 0 && face.corners[c] < mesh.vertexCount();
        };
        std::vector<std::size_t> triangleCounts(materialCount, 0);
        bool outside = false;
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
            const FaceRecord face = mesh.faces[f];
            for (std::int32_t c = 1; c + 1 < face.cornerCount; ++c) {
                if (valid(face, 0) && valid(face, c) && valid(face, c + 1))
                    ++triangleCounts[materialOf(f)];
                else
                    outside = true;
            }
        }
        if (outside) document.notices.Add("a face corner naming no vertex of its mesh: its triangle left out");
        std::size_t allTriangles = 0;
        for (const std::size_t count : triangleCounts) allTriangles += count;
        if (allTriangles == 0 || drawn == 0) continue;

        tinygltf::Primitive attributes;
        std::size_t offset = 0;
        // Positions.
        {
            const int accessor = document.NewFloats(drawn, TINYGLTF_TYPE_VEC3, 3, TINYGLTF_TARGET_ARRAY_BUFFER, offset);
            float* values = document.At<float>(offset);
            bool bad = false;
            for (std::size_t d = 0; d < drawn; ++d) {
                Vector3 p = axes::Point(mesh.vertices[source(d)]);
                if (!Finite(p.x) || !Finite(p.y) || !Finite(p.z)) {
                    bad = true;
                    p = {};
                }
                values[d * 3] = p.x, values[d * 3 + 1] = p.y, values[d * 3 + 2] = p.z;
            }
            document.SetBounds(accessor, offset, 3);
            if (bad) document.notices.Add("a vertex position that is not finite: written as the origin");
            attributes.attributes["POSITION"] = accessor;
        }
        // Normals: the stored ones where the file has them, else the computed ones.
        if (split || (mesh.normals && mesh.normals->size() >= drawn)) {
            attributes.attributes["NORMAL"] =
                document.NewFloats(drawn, TINYGLTF_TYPE_VEC3, 3, TINYGLTF_TARGET_ARRAY_BUFFER, offset);
            float* values = document.At<float>(offset);
            bool none = false;
            for (std::size_t d = 0; d < drawn; ++d) {
                const Vector3 n = axes::Point(split ? split->normals[d] : (*mesh.normals)[d]);
                const float square = n.x * n.x + n.y * n.y + n.z * n.z;
                // Normals come unit length; only the others are measured again.
                std::optional<Vector3> unit = std::abs(square - 1.0f) < 1e-6f ? std::optional(n) : Unit(n);
                if (!unit) none = true;
                const Vector3 written = unit.value_or(Vector3{0, 1, 0});
                values[d * 3] = written.x, values[d * 3 + 1] = written.y, values[d * 3 + 2] = written.z;
            }
            if (none)
                document.notices.Add("a normal of length 0 (a vertex no face uses, or faces of no area): written as +Y");
        }
        // Texture coordinates: DirectX and glTF both put (0, 0) at the image's top left.
        if (mesh.texCoords && !mesh.texCoords->empty()) {
            attributes.attributes["TEXCOORD_0"] =
                document.NewFloats(drawn, TINYGLTF_TYPE_VEC2, 2, TINYGLTF_TARGET_ARRAY_BUFFER, offset);
            float* values = document.At<float>(offset);
            bool bad = false;
            for (std::size_t d = 0; d < drawn; ++d) {
                const std::size_t v = source(d);
                TexCoord t = v < mesh.texCoords->size() ? (*mesh.texCoords)[v] : TexCoord{};
                if (!Finite(t.u) || !Finite(t.v)) {
                    bad = true;
                    t = {};
                }
                values[d * 2] = t.u, values[d * 2 + 1] = t.v;
            }
            if (bad) document.notices.Add("a texture coordinate that is not finite: written as 0");
        }
        if (context.options.vertexColors && mesh.vertexColors && mesh.vertexColors->size() == mesh.vertices.size()) {
            attributes.attributes["COLOR_0"] =
                document.NewFloats(drawn, TINYGLTF_TYPE_VEC4, 4, TINYGLTF_TARGET_ARRAY_BUFFER, offset);
            float* values = document.At<float>(offset);
            for (std::size_t d = 0; d < drawn; ++d)
                for (std::size_t c = 0; c < 4; ++c) {
                    const float v = (*mesh.vertexColors)[source(d)][c];
                    values[d * 4 + c] = Finite(v) ? std::clamp(v, 0.0f, 1.0f) : 1.0f;
                }
        }

        int skinIndex = -1;
        if (const std::optional<Skin> skin = SkinOf(context, framesByName, mesh)) {
            for (std::size_t set = 0; set < skin->setsOfFour; ++set) {
                // Influence k of set `set` of drawn vertex d, or none.
                const auto influence = [&](std::size_t d, std::size_t k) -> const Influence* {
                    const std::size_t v = source(d), i = skin->starts[v] + set * 4 + k;
                    return i < skin->starts[v + 1] ? &skin->influences[i] : nullptr;
                };
                const std::string n = std::to_string(set);
                const std::size_t jointBytes = drawn * 4 * sizeof(std::uint16_t);
                offset = document.Grow(jointBytes);
                attributes.attributes["JOINTS_" + n] =
                    document.AddAccessor(document.AddView(offset, jointBytes, TINYGLTF_TARGET_ARRAY_BUFFER),
                                         TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_VEC4, drawn);
                std::uint16_t* joints = document.At<std::uint16_t>(offset);
                for (std::size_t d = 0; d < drawn; ++d)
                    for (std::size_t k = 0; k < 4; ++k) joints[d * 4 + k] = influence(d, k) ? influence(d, k)->joint : 0;
                attributes.attributes["WEIGHTS_" + n] =
                    document.NewFloats(drawn, TINYGLTF_TYPE_VEC4, 4, TINYGLTF_TARGET_ARRAY_BUFFER, offset);
                float* weights = document.At<float>(offset);
                for (std::size_t d = 0; d < drawn; ++d)
                    for (std::size_t k = 0; k < 4; ++k) weights[d * 4 + k] = influence(d, k) ? influence(d, k)->weight : 0.0f;
            }
            std::vector<float> inverseBinds;
            inverseBinds.reserve(skin->inverseBinds.size() * 16);
            for (const Matrix4& m : skin->inverseBinds) {
                const Matrix4 mirrored = axes::Mirrored(m);
                inverseBinds.insert(inverseBinds.end(), mirrored.m.begin(), mirrored.m.end());
            }
            tinygltf::Skin gltfSkin;
            gltfSkin.name = document.Text(mesh.name);
            gltfSkin.joints = skin->joints;
            gltfSkin.inverseBindMatrices = document.AddFloats(inverseBinds, TINYGLTF_TYPE_MAT4, 16, 0);
            gltf.skins.push_back(std::move(gltfSkin));
            skinIndex = static_cast<int>(gltf.skins.size()) - 1;
        }

        // Every material's indices in one stretch of the buffer, filled in one pass over the faces.
        const std::size_t indexStart = document.Grow(allTriangles * 3 * sizeof(std::uint32_t));
        std::vector<std::size_t> written(materialCount, 0);
        for (std::size_t m = 0, start = 0; m < materialCount; start += triangleCounts[m] * 3, ++m) written[m] = start;
        std::vector<std::size_t> firstIndex = written;
        std::uint32_t* indices = document.At<std::uint32_t>(indexStart);
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
            const FaceRecord face = mesh.faces[f];
            const std::size_t firstCorner = mesh.faces.FirstCorner(f);
            const auto drawnOf = [&](std::int32_t c) {
                return static_cast<std::uint32_t>(split ? split->corners[firstCorner + static_cast<std::size_t>(c)]
                                                        : face.corners[c]);
            };
            std::size_t& at = written[materialOf(f)];
            for (std::int32_t c = 1; c + 1 < face.cornerCount; ++c) {
                if (!valid(face, 0) || !valid(face, c) || !valid(face, c + 1)) continue;
                indices[at++] = drawnOf(0);
                indices[at++] = drawnOf(c + 1);
                indices[at++] = drawnOf(c);
            }
        }

        tinygltf::Mesh gltfMesh;
        gltfMesh.name = document.Text(mesh.name);
        for (std::size_t m = 0; m < materialCount; ++m) {
            if (triangleCounts[m] == 0) continue;
            tinygltf::Primitive primitive = attributes;
            primitive.mode = TINYGLTF_MODE_TRIANGLES;
            const std::size_t bytes = triangleCounts[m] * 3 * sizeof(std::uint32_t);
            primitive.indices = document.AddAccessor(
                document.AddView(indexStart + firstIndex[m] * sizeof(std::uint32_t), bytes, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER),
                TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR, triangleCounts[m] * 3);
            MaterialRecord unnamed;
            unnamed.name = "unnamed";
            primitive.material = materials.IndexOf(m < mesh.materials.size() ? mesh.materials[m] : unnamed);
            gltfMesh.primitives.push_back(std::move(primitive));
        }
        gltf.meshes.push_back(std::move(gltfMesh));
        const int meshIndex = static_cast<int>(gltf.meshes.size()) - 1;

        // On its frame's node when it is the frame's only mesh, else on a node of its own under it.
        const std::size_t slot = frameSlot(mesh);
        const int frameNode = slot < model.frames.size() ? context.frameNodes[slot] : context.rootNode;
        int node = frameNode;
        if (meshesOnFrame[slot] > 1 || gltf.nodes[static_cast<std::size_t>(frameNode)].mesh >= 0) {
            tinygltf::Node own;
            own.name = document.Text(mesh.name);
            node = static_cast<int>(gltf.nodes.size());
            gltf.nodes.push_back(std::move(own));
            gltf.nodes[static_cast<std::size_t>(frameNode)].children.push_back(node);
        }
        gltf.nodes[static_cast<std::size_t>(node)].mesh = meshIndex;
        gltf.nodes[static_cast<std::size_t>(node)].skin = skinIndex;
    }
}

}  // namespace gltf_export
