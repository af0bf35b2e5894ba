// A model as the viewer holds it: the data read from its file and the
// drawing data prepared from it, with the load and the two normals commands
// that change both.
#pragma once

#include "model/Model.h"
#include "platform/ResultCodes.h"
#include "render/RenderModel.h"

#include <string>
#include <string_view>

class LoadedModel {
public:
    // Reads the file, then runs the post-load sequence (PrepareLoadedModel),
    // drawn as authored when `asAuthored`. On failure the message has been
    // shown and the model is left empty.
    HRESULT Load(const std::string& path, bool asAuthored = false);
    // The same from bytes already in memory; `path` names the file in
    // messages and locates its textures.
    HRESULT LoadFromMemory(const std::string& path, std::string_view bytes, bool asAuthored = false);

    // Draws the model as authored (frames, bones, DirectX's handedness) or as
    // read; the boxes and the render data follow.
    void SetAsAuthored(bool asAuthored);

    // "Compute Normales": normals of every mesh computed anew, then the
    // render data rebuilt. The result is that of the buffer setup.
    HRESULT ComputeNormals();
    // "Inverse Normales": every normal negated, then the render data rebuilt.
    HRESULT InvertNormals();

    // Releases everything: data, textures, buffer objects, display list.
    void Clear();

    Model model;
    RenderModel render;
};

// The steps after a successful read: textures, triangles, normals with the
// pose and the render data, boxes of the posed vertices, display list.
void PrepareLoadedModel(LoadedModel& loaded);
