#include "render/LoadedModel.h"

#include "model/file/ModelFile.h"
#include "platform/Messages.h"

#include <utility>

namespace {

// The read, then the steps after it; a message the load has told already
// (a missing texture that many materials name) is not told again. A file
// that does not load tells its messages here, before anything else.
template <class Read>
HRESULT LoadWith(LoadedModel& loaded, Read&& read, const PoseChoice& pose, LoadError* failure)
{
    const platform::ScopedDistinctMessages tellOnce;
    ModelOrError model = read();
    loaded.Clear();
    if (!model) {
        platform::ShowMessages(model.error().messages);
        if (failure != nullptr) *failure = std::move(model.error());
        return E_FAIL;
    }
    loaded.model = std::move(*model);
    PrepareLoadedModel(loaded, pose);
    return S_OK;  // a failed buffer setup does not fail the load
}

// A scene asked for as its author made it is read in whatever layout the
// author's tool wrote, where the line reader refuses it.
ReadOptions ReadOptionsOf(const PoseChoice& pose) { return {.anyLayout = pose.asAuthored}; }

}  // namespace

HRESULT LoadedModel::Load(const std::string& path, const PoseChoice& pose, LoadError* failure)
{
    return LoadWith(*this, [&] { return ReadModelFile(path, ReadOptionsOf(pose)); }, pose, failure);
}

HRESULT LoadedModel::LoadFromMemory(const std::string& path, std::string_view bytes, const PoseChoice& pose)
{
    return LoadWith(*this, [&] { return ReadModelBytes(path, bytes, ReadOptionsOf(pose)); }, pose, nullptr);
}

void LoadedModel::ShowPose(const PoseChoice& pose, DrawPath path)
{
    if (!(render.pose() == pose)) render.PoseMeshes(model, pose);
    render.RefreshPath(model, path);
}

// The normals the paths draw follow the model's: the geometry is posed again
// (in the pose it had) before the render data are rebuilt.
HRESULT LoadedModel::ComputeNormals()
{
    for (std::int32_t m = 0; m < model.meshCount(); ++m) model.ComputeMeshNormals(m);
    // Computed normals replace the file's too, until the next load.
    model.DropStoredNormals();
    render.SplitSurfaces(model);
    render.PoseMeshes(model, render.pose());
    return render.RebuildRenderData(model);
}

HRESULT LoadedModel::InvertNormals()
{
    model.NegateNormals();
    render.SplitSurfaces(model);  // the split holds the stored normals it draws
    render.PoseMeshes(model, render.pose());
    return render.RebuildRenderData(model);
}

void LoadedModel::Clear()
{
    render = RenderModel{};  // textures, buffers and the list go first, while their context is current
    model.Clear();
}

void PrepareLoadedModel(LoadedModel& loaded, const PoseChoice& pose)
{
    Model& model = loaded.model;
    RenderModel& render = loaded.render;
    // The reader has sorted the meshes by opacity.
    render.LoadMaterialTextures(model, pose);
    platform::ShowMessages(model.TriangulateFaces());
    for (std::int32_t m = 0; m < model.meshCount(); ++m) model.ComputeMeshNormals(m);
    render.SplitSurfaces(model);
    // Triangles and normals leave the vertices as they are, so the boxes
    // taken with the pose are those the vertices had before them.
    render.PoseMeshes(model, pose);
    render.BuildRenderArrays(model);
    const HRESULT buffers = render.SetupBufferObjects();
    if (buffers == S_OK) render.buffersReady = true;
    render.BuildDisplayList(model);
    // The sequence ends by building the arrays and the buffers once more from
    // the same data. When the first setup succeeded that would give the same
    // arrays and buffers again; the arrays are the same in any case, so only
    // a failed buffer setup is tried once more (and reports its failure once
    // more).
    if (buffers != S_OK && render.SetupBufferObjects() == S_OK) render.buffersReady = true;
}
