#include "gltf/GltfExport.h"

#include "gltf/Document.h"
#include "platform/AsciiCase.h"
#include "platform/FileReplacement.h"
#include "platform/Version.h"

#include <cstring>
#include <sstream>
#include <streambuf>

namespace gltf_export {
namespace {

std::string FileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Stem(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string FolderPrefix(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

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
    header["format"] = tinygltf::Value(model.formatType);
    header["floatSize"] = tinygltf::Value(static_cast<int>(model.floatSize));
    header["major"] = tinygltf::Value(static_cast<int>(model.headerMajor));
    header["minor"] = tinygltf::Value(static_cast<int>(model.headerMinor));
    header["flags"] = tinygltf::Value(static_cast<int>(model.headerFlags));
    tinygltf::Value::Object extras;
    extras["xFile"] = tinygltf::Value(FileName(model.sourcePath));
    extras["xHeader"] = tinygltf::Value(std::move(header));
    asset.extras = tinygltf::Value(std::move(extras));
    return document;
}

// Keeps every image's URI as given, and writes none: the export writes its own.
bool KeepImageUri(const std::string*, const std::string*, const tinygltf::Image*, bool, std::string*, void*) { return false; }

// The GLB of a document whose images are in its buffer or named by URI.
bool Serialize(tinygltf::Model& gltf, std::ostream& out)
{
    if (gltf.buffers[0].data.empty()) gltf.buffers.clear();  // glTF has no empty buffer
    tinygltf::TinyGLTF writer;
    writer.SetImageWriter(KeepImageUri, nullptr);
    return writer.WriteGltfSceneToStream(&gltf, out, false, true) && out.good();
}

void PlaceImagesInBuffer(Document& document)
{
    for (std::size_t i = 0; i < document.images.size(); ++i) {
        document.gltf.images[i].bufferView = document.AddView(document.images[i].bytes, 0);
        std::vector<std::uint8_t>().swap(document.images[i].bytes);
    }
}

// Sends what a stream is given to a file being replaced.
class ReplacementBuffer : public std::streambuf {
public:
    explicit ReplacementBuffer(platform::FileReplacement& file) : file_(file) {}

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override
    {
        file_.Write(std::string_view(data, static_cast<std::size_t>(count)));
        return file_.Ok() ? count : 0;
    }
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

private:
    platform::FileReplacement& file_;
};

ExportResult WriteGlb(Document& document, const std::string& path)
{
    PlaceImagesInBuffer(document);
    platform::FileReplacement file(path);
    if (!file.Ok()) return {file.Error(), {}};
    ReplacementBuffer buffer(file);
    std::ostream out(&buffer);
    const bool serialized = Serialize(document.gltf, out);
    if (!file.Ok()) return {file.Error(), {}};
    if (!serialized) return {"the glTF document could not be written", {}};
    return {file.Commit(), {}};
}

// The JSON chunk of a GLB made in memory.
std::string JsonChunk(const std::string& glb)
{
    if (glb.size() < 20) return {};
    std::uint32_t length = 0;
    std::memcpy(&length, glb.data() + 12, 4);
    if (glb.size() < 20 + static_cast<std::size_t>(length)) return {};
    std::string json = glb.substr(20, length);
    while (!json.empty() && json.back() == ' ') json.pop_back();
    return json;
}

ExportResult WriteSeparate(Document& document, const std::string& path)
{
    const std::string folder = FolderPrefix(path);
    const std::string stem = Stem(FileName(path));
    // The images beside, named after the export so that no other file there is touched.
    for (std::size_t i = 0; i < document.images.size(); ++i) {
        const std::string extension = document.images[i].mimeType == "image/jpeg" ? ".jpg" : ".png";
        const std::string name = stem + "_" + std::to_string(i) + "_" + Stem(FileName(document.images[i].name)) + extension;
        if (std::string error = platform::WriteFileWhole(folder + name, document.images[i].bytes); !error.empty())
            return {folder + name + ": " + error, {}};
        document.gltf.images[i].uri = UriOf(name);
    }
    const bool hasBuffer = !document.Buffer().empty();
    const std::string binName = stem + ".bin";
    if (hasBuffer)
        if (std::string error = platform::WriteFileWhole(folder + binName, document.Buffer()); !error.empty())
            return {folder + binName + ": " + error, {}};

    // tinygltf names an external buffer only when it writes it itself, to a
    // file of its choosing: the JSON is made as for a GLB, then given the URI.
    std::vector<unsigned char> bytes;
    bytes.swap(document.Buffer());
    const std::size_t byteLength = bytes.size();
    document.Buffer().assign(byteLength ? 1 : 0, 0);
    std::ostringstream glb;
    if (!Serialize(document.gltf, glb)) return {"the glTF document could not be written", {}};
    std::string json = JsonChunk(glb.str());
    if (hasBuffer) {
        const std::string written = "\"buffers\":[{\"byteLength\":1";
        const std::size_t at = json.find(written);
        if (at == std::string::npos) return {"the glTF document could not be written", {}};
        json.replace(at, written.size(), "\"buffers\":[{\"byteLength\":" + std::to_string(byteLength) + ",\"uri\":\"" +
                                             UriOf(binName) + "\"");
    }
    return {platform::WriteFileWhole(path, json), {}};
}

}  // namespace

void PrepareModel(Model& model)
{
    model.SortMeshesByOpacity();
    model.TriangulateFaces();
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
    PlaceImagesInBuffer(document);
    std::ostringstream out;
    Serialize(document.gltf, out);
    if (notices) *notices = document.notices.Lines();
    const std::string bytes = out.str();
    return {bytes.begin(), bytes.end()};
}

}  // namespace gltf_export
