#include "gltf/GltfExport.h"

#include "platform/AsciiCase.h"

namespace gltf_export {

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

ExportResult ExportModel(const Model&, const std::string&, const ExportOptions&) { return {"not written yet", {}}; }

std::vector<std::uint8_t> ExportGlb(const Model&, const ExportOptions&, std::vector<std::string>*) { return {}; }

}  // namespace gltf_export
