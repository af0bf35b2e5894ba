#include "render/MaterialSetup.h"
#include "render/RenderModel.h"

#include <algorithm>

void RenderModel::BuildDisplayList(const Model& model)
{
    displayList.Reset();  // a list still held would be lost with its name
    meshLists_.clear();
    const GLuint list = glGenLists(1);
    if (list == 0) return;
    displayList = platform::GlName(platform::GlObjectKind::DisplayList, list);
    RecompileDisplayList(model);
}

// While every mesh is shown, the model's list holds the whole immediate
// draw. Once a mesh has been hidden, each mesh has a list of its own and the
// model's list calls those of the meshes shown: showing or hiding a mesh
// then compiles only that short list again.
void RenderModel::RecompileDisplayList(const Model& model)
{
    if (!displayList) return;
    const bool allShown = std::all_of(meshes.begin(), meshes.end(), [](const MeshRenderData& d) { return d.shown; });
    if (!meshLists_.empty() || !allShown) CompileMeshLists(model);
    CompileModelList(model);
    listVersion_ = geometryVersion_;
}

void RenderModel::CompileModelList(const Model& model)
{
    // The same name takes the new contents: a pose a frame makes no name.
    glNewList(displayList.get(), GL_COMPILE);
    if (meshLists_.empty()) {
        DrawImmediate(model);  // without lists of their own, the hidden meshes are left out here
    } else {
        for (std::size_t m = 0; m < meshLists_.size() && m < meshes.size(); ++m)
            if (meshes[m].shown) glCallList(meshLists_[m].get());
    }
    glEndList();
}

// One list per mesh, each ending in the mesh reset, so that any of them may
// follow any other. Where the names run out there are none, and the model's
// list holds the draw itself.
void RenderModel::CompileMeshLists(const Model& model)
{
    const std::size_t count = std::min(model.meshes.size(), meshes.size());
    if (meshLists_.size() != count) {
        meshLists_.clear();
        const GLuint first = count > 0 ? glGenLists(static_cast<GLsizei>(count)) : 0;
        if (first == 0) return;
        meshLists_.reserve(count);
        for (std::size_t m = 0; m < count; ++m)
            meshLists_.emplace_back(platform::GlObjectKind::DisplayList, first + static_cast<GLuint>(m));
    }
    for (std::size_t m = 0; m < count; ++m) {
        glNewList(meshLists_[m].get(), GL_COMPILE);
        render::MaterialState state;
        DrawImmediateMesh(model, m, state);
        state.Finish();
        glEndList();
    }
}

void RenderModel::SetMeshShown(const Model& model, std::size_t mesh, bool shown)
{
    if (mesh >= meshes.size() || meshes[mesh].shown == shown) return;
    meshes[mesh].shown = shown;
    if (!displayList) return;
    // With a list per mesh, only the model's list changes; the first time a
    // mesh is hidden, the meshes' lists are made.
    if (meshLists_.empty())
        RecompileDisplayList(model);
    else
        CompileModelList(model);
}

bool RenderModel::MeshShown(std::size_t mesh) const { return mesh < meshes.size() && meshes[mesh].shown; }

void RenderModel::DrawDisplayList() const
{
    if (displayList) glCallList(displayList.get());
}
