#include "model/Model.h"

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
    materialCursor = 0;
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
    const std::int32_t count = static_cast<std::int32_t>(meshes.size());
    if (count < 2) return;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t best = i;
        for (std::int32_t j = i + 1; j < count; ++j)
            if (meshes[j].opacity > meshes[best].opacity) best = j;
        if (best != i) MeshRecord::Swap(meshes[i], meshes[best]);
    }
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
