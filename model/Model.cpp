#include "model/Model.h"

#include "model/SelectionOrder.h"

#include <algorithm>

Model::Model() : blockStack(kMaxBlockDepth) {}

void Model::Clear()
{
    std::vector<MaterialRecord>().swap(sharedMaterials);  // each material deletes its texture
    text = {};
    lines = {};
    for (auto& mesh : meshes) mesh.Release();
    std::vector<MeshRecord>().swap(meshes);
    currentMesh.Release();
    if (displayList != kNoGlName) {
        glDeleteLists(displayList, 1);
        displayList = kNoGlName;
    }
    meshCount = 0;
    sharedMaterialCount = 0;
    sharedMaterialsRead = 0;
    sharedMaterialsByName.clear();
    materialCursor = 0;
    objectBlockEnd = -1;
    buffersReady = false;
}

std::int32_t Model::CountTexturedMaterials() const
{
    std::int32_t count = 0;
    for (const auto& mesh : meshes)
        for (const auto& material : mesh.materials)
            if (!material.textureFile.empty()) ++count;
    return count;
}

void Model::SortMeshesByOpacity()
{
    if (meshes.size() < 2) return;
    std::vector<float> opacities;
    opacities.reserve(meshes.size());
    for (const MeshRecord& mesh : meshes) opacities.push_back(mesh.opacity);
    std::vector<MeshRecord> sorted;
    sorted.reserve(meshes.size());
    for (const std::size_t from : SelectionSortOrder(opacities)) sorted.push_back(std::move(meshes[from]));
    meshes = std::move(sorted);
}

std::string_view Model::Line(std::int32_t line) const
{
    const LineSpan span = lines[static_cast<std::size_t>(line)];
    return std::string_view(text).substr(span.begin, span.length);
}

std::int32_t Model::FileLineNumber(std::int32_t line) const
{
    const std::size_t end = lines[static_cast<std::size_t>(line)].begin;
    return 1 + static_cast<std::int32_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}
