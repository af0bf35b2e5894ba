// The glTF document an export builds: tinygltf's model, the one binary
// buffer its accessors point into, and what the export has to say about the
// model. Shared by the parts that add nodes, meshes, materials and animations.
#pragma once

#include "gltf/GltfExport.h"
#include "model/Transparency.h"
#include "platform/LargeBlocks.h"

#include <tiny_gltf.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gltf_export {

// One line per kind of thing glTF could not take as it is, in the order met.
class Notices {
public:
    void Add(const std::string& line);
    std::vector<std::string> Lines() const;

private:
    std::vector<std::string> order_;
    std::map<std::string, std::size_t> counts_;
};

// An image as it goes into the file.
struct ImageBytes {
    std::string name;      // the texture file as the model names it
    std::string mimeType;  // "image/png" or "image/jpeg"
    std::vector<std::uint8_t> bytes;
};

class Document {
public:
    Document();

    tinygltf::Model gltf;
    std::vector<ImageBytes> images;  // one per gltf.images, in order; placed by the writer
    Notices notices;

    // The one buffer's bytes, kept here: tinygltf's model holds a stand-in,
    // and the writer puts these bytes in place.
    using Bytes = platform::LargeVector<std::uint8_t>;
    Bytes& Buffer() { return buffer_; }
    // A name as glTF's JSON wants it, in UTF-8: a file's names are bytes,
    // often of a Windows code page; a byte that does not make UTF-8 is read
    // as Latin-1, and that is said once.
    std::string Text(std::string_view name);
    // Room for `bytes` at the end of the buffer, on a 4-byte boundary: its offset.
    std::size_t Grow(std::size_t bytes);
    template <typename T>
    T* At(std::size_t offset) { return reinterpret_cast<T*>(Buffer().data() + offset); }
    // A view of `length` bytes from `offset`; `target` 0 for data no vertex or index reads.
    int AddView(std::size_t offset, std::size_t length, int target);
    int AddView(std::span<const std::uint8_t> bytes, int target);
    int AddAccessor(int view, int componentType, int type, std::size_t count);

    // An accessor over a new view of `count` elements of `components`
    // floats, left for the caller to fill in place (before the buffer next
    // grows); `offset` says where.
    int NewFloats(std::size_t count, int type, int components, int target, std::size_t& offset);
    // The same over values given, with their bounds when asked.
    int AddFloats(std::span<const float> values, int type, int components, int target, bool bounds = false);
    // The bounds glTF wants of positions and animation times.
    void SetBounds(int accessor, std::size_t offset, int components);

private:
    Bytes buffer_;
};

// What the parts of one export share.
struct ExportContext {
    const Model& model;
    const ExportOptions& options;
    Document& document;
    int rootNode = -1;
    std::vector<int> frameNodes;  // the node of each frame
};

// The scene's root (named after the file, turned up when the model is Z-up)
// and a node for every frame under its parent.
void AddNodes(ExportContext& context);
// The material a mesh's material becomes, its texture read once per file.
class MaterialTable {
public:
    explicit MaterialTable(ExportContext& context) : context_(context) {}
    int IndexOf(const MaterialRecord& material);

private:
    struct Texture {
        std::optional<int> index;  // none: the file could not be read
        TextureAlpha alpha = TextureAlpha::None;
    };
    const Texture& TextureOf(const std::string& file);

    ExportContext& context_;
    std::map<std::string, int> indices_;  // by the material's name, texture and colours
    std::map<std::string, Texture> textures_;
};
// Every mesh's geometry, one primitive per material used, its skin, on the
// node of its frame.
void AddMeshes(ExportContext& context, MaterialTable& materials);
// Every animation set (or the one asked for) as an animation.
void AddAnimations(ExportContext& context);

}  // namespace gltf_export
