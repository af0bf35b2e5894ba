// A model as the viewer holds it: the data read from its file and the
// drawing data prepared from it, with the load, the pose it is drawn in and
// the two normals commands.
#pragma once

#include "model/LoadError.h"
#include "model/Model.h"
#include "platform/ResultCodes.h"
#include "render/RenderModel.h"

#include <string>
#include <string_view>

class LoadedModel {
public:
    // Reads the file, then runs the post-load sequence (PrepareLoadedModel),
    // drawn in `pose`. On failure the reader's messages have been shown, the
    // model is left empty and `failure`, when given, says why. Within one
    // load a message is shown once, however often the same fault is met.
    HRESULT Load(const std::string& path, const PoseChoice& pose = {}, LoadError* failure = nullptr);
    // The same from bytes already in memory; `path` names the file in
    // messages and locates its textures.
    HRESULT LoadFromMemory(const std::string& path, std::string_view bytes, const PoseChoice& pose = {});

    // What a frame asks before it draws along `path`: the drawn geometry
    // (meshes, normals, boxes) in `pose`, and the data of that path brought
    // up to it. The geometry is posed again only when the pose changes; the
    // other paths catch up when they are drawn.
    void ShowPose(const PoseChoice& pose, DrawPath path);

    // "Compute Normales": normals of every mesh computed anew (and drawn in
    // place of the file's, as authored), then the render data rebuilt. The
    // result is that of the buffer setup.
    HRESULT ComputeNormals();
    // "Inverse Normales": every normal negated, then the render data rebuilt.
    HRESULT InvertNormals();

    // Hides or shows mesh `mesh` in every draw path (see RenderModel::SetMeshShown).
    void SetMeshShown(std::size_t mesh, bool shown) { render.SetMeshShown(model, mesh, shown); }
    bool MeshShown(std::size_t mesh) const { return render.MeshShown(mesh); }

    // Releases everything: data, textures, buffer objects, display list.
    void Clear();

    Model model;
    RenderModel render;
};

// The steps after a successful read: textures, triangles, normals, the
// geometry in `pose` with its boxes, the render arrays, the buffer objects
// and the display list.
void PrepareLoadedModel(LoadedModel& loaded, const PoseChoice& pose = {});
