#include "gltf/GltfExport.h"

#include "gltf/Document.h"
#include "platform/AsciiCase.h"
#include "platform/FileReplacement.h"
#include "platform/Messages.h"
#include "platform/Version.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>

namespace gltf_export {
namespace {

namespace fs = std::filesystem;

// A file name as a URI reference: everything but unreserved characters escaped.
std::string UriOf(const std::string& name)
{
    static const char* hex = "0123456789ABCDEF";
    std::string uri;
    for (const unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            uri.push_back(static_cast<char>(c));
        } else {
            uri.push_back('%');
            uri.push_back(hex[c >> 4]);
            uri.push_back(hex[c & 15]);
        }
    }
    return uri;
}

Document Build(const Model& model, const ExportOptions& options)
{
    Document document;
    ExportContext context{model, options, document, -1, {}};

    // The buffer's likely size, so that it is not copied as it grows.
    std::size_t estimate = 0;
    for (const MeshRecord& mesh : model.meshes)
        estimate += mesh.vertices.size() * 48 + mesh.faces.cornerTotal() * 4 + 64;
    document.Buffer().reserve(estimate);
    // tinygltf's objects are large (hundreds of bytes each): a file of many
    // small meshes would otherwise hold two copies of them as the lists grow.
    std::size_t views = 0;
    for (const MeshRecord& mesh : model.meshes)
        views += 4 + mesh.materials.size() + (mesh.skinWeights.empty() ? 0 : 3) + (mesh.texCoords ? 1 : 0);
    document.gltf.bufferViews.reserve(views);
    document.gltf.accessors.reserve(views);
    document.gltf.meshes.reserve(model.meshes.size());
    document.gltf.nodes.reserve(1 + model.frames.size() + model.meshes.size());

    AddNodes(context);
    MaterialTable materials(context);
    AddMeshes(context, materials);
    AddAnimations(context);

    // tinygltf writes a node with nothing set as null, which no reader takes.
    for (tinygltf::Node& node : document.gltf.nodes)
        if (node.name.empty() && node.children.empty() && node.mesh < 0 && node.translation.empty() &&
            node.rotation.empty() && node.scale.empty())
            node.translation = {0, 0, 0};

    tinygltf::Asset& asset = document.gltf.asset;
    asset.generator = std::string("Pelmora ") + platform::kVersion;
    tinygltf::Value::Object header;
    header["version"] = tinygltf::Value(std::to_string(model.versionMajor) + "." + std::to_string(model.versionMinor));
    header["format"] = tinygltf::Value(document.Text(model.formatType));
    header["floatSize"] = tinygltf::Value(static_cast<int>(model.floatSize));
    header["major"] = tinygltf::Value(static_cast<int>(model.headerMajor));
    header["minor"] = tinygltf::Value(static_cast<int>(model.headerMinor));
    header["flags"] = tinygltf::Value(static_cast<int>(model.headerFlags));
    tinygltf::Value::Object extras;
    extras["xFile"] = tinygltf::Value(document.Text(fs::path(model.sourcePath).filename().string()));
    extras["xHeader"] = tinygltf::Value(std::move(header));
    asset.extras = tinygltf::Value(std::move(extras));
    return document;
}

// Keeps every image's URI as given, and writes none: the export writes its own.
bool KeepImageUri(const std::string*, const std::string*, const tinygltf::Image*, bool, std::string*, void*) { return false; }

void PlaceImagesInBuffer(Document& document)
{
    for (std::size_t i = 0; i < document.images.size(); ++i) {
        document.gltf.images[i].bufferView = document.AddView(document.images[i].bytes, 0);
        std::vector<std::uint8_t>().swap(document.images[i].bytes);
    }
}

// The document's JSON, its buffer `byteLength` long and, when `binUri` is
// given, read from there. tinygltf writes a buffer's bytes wherever it writes
// its JSON (or in a file of its own choosing): it is given one byte instead,
// and the real length set in the text.
std::optional<std::string> JsonOf(Document& document, std::size_t byteLength, const std::string& binUri)
{
    tinygltf::Model& gltf = document.gltf;
    std::vector<tinygltf::Buffer> buffers;
    if (byteLength > 0)
        gltf.buffers[0].data.assign(1, 0);
    else
        buffers.swap(gltf.buffers);  // glTF has no empty buffer
    tinygltf::TinyGLTF writer;
    writer.SetImageWriter(KeepImageUri, nullptr);
    std::ostringstream glb;
    bool written = false;
    try {
        written = writer.WriteGltfSceneToStream(&gltf, glb, false, true);
    } catch (const std::exception&) {
        // The JSON library refuses what it cannot write (the names are made UTF-8 before).
        written = false;
    }
    if (byteLength == 0) buffers.swap(gltf.buffers);
    if (!written) return std::nullopt;

    const std::string_view container = glb.view();
    if (container.size() < 20) return std::nullopt;
    std::uint32_t length = 0;
    std::memcpy(&length, container.data() + 12, 4);
    if (container.size() < 20 + static_cast<std::size_t>(length)) return std::nullopt;
    std::string json(container.substr(20, length));
    glb = std::ostringstream();
    while (!json.empty() && json.back() == ' ') json.pop_back();
    if (byteLength > 0) {
        const std::string placeholder = "\"buffers\":[{\"byteLength\":1";
        const std::size_t at = json.find(placeholder);
        if (at == std::string::npos) return std::nullopt;
        std::string real = "\"buffers\":[{\"byteLength\":" + std::to_string(byteLength);
        if (!binUri.empty()) real += ",\"uri\":\"" + binUri + "\"";
        json.replace(at, placeholder.size(), real);
    }
    return json;
}

constexpr const char* kNotWritten = "the glTF document could not be made";
constexpr std::uint64_t kGlbLimit = 0xFFFFFFFFull;

// A .glb: its header, the JSON chunk (padded with spaces), the buffer's chunk
// (padded with zeros), handed to `write` piece by piece.
template <typename Write>
std::string WriteContainer(Document& document, Write write)
{
    PlaceImagesInBuffer(document);
    const Document::Bytes& bin = document.Buffer();
    std::optional<std::string> json = JsonOf(document, bin.size(), {});
    if (!json) return kNotWritten;
    json->resize((json->size() + 3) / 4 * 4, ' ');
    const std::size_t binPadded = (bin.size() + 3) / 4 * 4;
    const std::uint64_t total = 12 + 8 + json->size() + (bin.empty() ? 0 : 8 + binPadded);
    if (total > kGlbLimit) return "too large for a .glb (4 GiB at most): write a .gltf";
    const auto word = [](std::uint32_t value) {
        std::string bytes(4, '\0');
        std::memcpy(bytes.data(), &value, 4);
        return bytes;
    };
    std::string head = "glTF" + word(2) + word(static_cast<std::uint32_t>(total)) +
                       word(static_cast<std::uint32_t>(json->size())) + "JSON";
    write(std::string_view(head));
    write(std::string_view(*json));
    if (!bin.empty()) {
        const std::string chunk = word(static_cast<std::uint32_t>(binPadded)) + std::string("BIN\0", 4);
        write(std::string_view(chunk));
        write(std::string_view(reinterpret_cast<const char*>(bin.data()), bin.size()));
        write(std::string_view("\0\0\0", binPadded - bin.size()));
    }
    return {};
}

ExportResult WriteGlb(Document& document, const std::string& path)
{
    platform::FileReplacement file(path);
    if (!file.Ok()) return {file.Error(), {}};
    if (std::string error = WriteContainer(document, [&](std::string_view bytes) { file.Write(bytes); }); !error.empty())
        return {error, {}};
    if (!file.Ok()) return {file.Error(), {}};
    return {file.Commit(), {}};
}

ExportResult WriteSeparate(Document& document, const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    const std::string stem = fs::path(path).stem().string();
    // The images beside, named after the export so that no other file there is touched.
    for (std::size_t i = 0; i < document.images.size(); ++i) {
        const std::string extension = document.images[i].mimeType == "image/jpeg" ? ".jpg" : ".png";
        const std::string name =
            stem + "_" + std::to_string(i) + "_" + fs::path(document.images[i].name).stem().string() + extension;
        const std::string imagePath = (folder / name).string();
        if (std::string error = platform::WriteFileWhole(imagePath, document.images[i].bytes); !error.empty())
            return {imagePath + ": " + error, {}};
        document.gltf.images[i].uri = UriOf(name);
    }
    const Document::Bytes& bin = document.Buffer();
    const std::string binName = stem + ".bin";
    const std::string binPath = (folder / binName).string();
    if (!bin.empty())
        if (std::string error = platform::WriteFileWhole(binPath, std::span(bin.data(), bin.size())); !error.empty())
            return {binPath + ": " + error, {}};
    const std::optional<std::string> json = JsonOf(document, bin.size(), UriOf(binName));
    if (!json) return {kNotWritten, {}};
    return {platform::WriteFileWhole(path, *json), {}};
}

}  // namespace

void PrepareModel(Model& model)
{
    model.SortMeshesByOpacity();
    platform::ShowMessages(model.TriangulateFaces());
    for (std::int32_t mesh = 0; mesh < model.meshCount(); ++mesh) model.ComputeMeshNormals(mesh);
}

bool WritesSeparateFiles(const std::string& path)
{
    return path.size() >= 5 && platform::EqualIgnoringAsciiCase(std::string_view(path).substr(path.size() - 5), ".gltf");
}

ExportResult ExportModel(const Model& model, const std::string& path, const ExportOptions& options)
{
    Document document = Build(model, options);
    ExportResult result = WritesSeparateFiles(path) ? WriteSeparate(document, path) : WriteGlb(document, path);
    result.notices = document.notices.Lines();
    return result;
}

std::vector<std::uint8_t> ExportGlb(const Model& model, const ExportOptions& options, std::vector<std::string>* notices)
{
    Document document = Build(model, options);
    std::vector<std::uint8_t> bytes;
    WriteContainer(document, [&](std::string_view piece) { bytes.insert(bytes.end(), piece.begin(), piece.end()); });
    if (notices) *notices = document.notices.Lines();
    return bytes;
}

}  // namespace gltf_export
