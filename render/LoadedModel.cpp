#include "render/LoadedModel.h"

#include "model/file/ModelFile.h"

#include <optional>
#include <utility>

namespace {

HRESULT Prepare(LoadedModel& loaded, std::optional<Model> read, bool asAuthored)
{
    loaded.Clear();
    if (!read) return E_FAIL;
    loaded.model = std::move(*read);
    loaded.render.asAuthored = asAuthored;
    PrepareLoadedModel(loaded);
    return S_OK;  // a failed buffer setup does not fail the load
}

}  // namespace

HRESULT LoadedModel::Load(const std::string& path, bool asAuthored)
{
    return Prepare(*this, ReadModelFile(path), asAuthored);
}

HRESULT LoadedModel::LoadFromMemory(const std::string& path, std::string_view bytes, bool asAuthored)
{
    return Prepare(*this, ReadModelBytes(path, bytes), asAuthored);
}

HRESULT LoadedModel::ComputeNormals()
{
    for (std::int32_t m = 0; m < model.meshCount(); ++m) model.ComputeMeshNormals(m);
    render.PoseMeshes(model);
    return render.RebuildRenderData(model);
}

HRESULT LoadedModel::InvertNormals()
{
    model.NegateNormals();
    render.PoseMeshes(model);
    return render.RebuildRenderData(model);
}

void LoadedModel::SetAsAuthored(bool asAuthored)
{
    if (render.asAuthored == asAuthored) return;
    render.asAuthored = asAuthored;
    render.PoseMeshes(model);
    render.ComputeBoundingBoxes(model);
    render.RebuildRenderData(model);
}

void LoadedModel::Clear()
{
    render = RenderModel{};  // textures, buffers and the list go first, while their context is current
    model.Clear();
}

void PrepareLoadedModel(LoadedModel& loaded)
{
    Model& model = loaded.model;
    RenderModel& render = loaded.render;
    // The reader has sorted the meshes by opacity.
    render.LoadMaterialTextures(model);
    model.TriangulateFaces();
    // The normals step poses the meshes; the boxes are taken from that pose.
    // Triangles and normals leave the vertices as they are, so the boxes are
    // those the vertices had before them.
    const HRESULT buffers = loaded.ComputeNormals();
    render.ComputeBoundingBoxes(model);
    render.BuildDisplayList(model);
    // The last two steps of the sequence rebuild what the normals step has
    // just built from the same data. When its buffer setup succeeded they
    // would give the same arrays and buffers again; the arrays are the same
    // in any case, so only a failed buffer setup is tried once more (and
    // reports its failure once more).
    if (buffers == S_OK) return;
    if (render.SetupBufferObjects() == S_OK) render.buffersReady = true;
}
