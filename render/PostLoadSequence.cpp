#include "model/Model.h"
#include "render/PostLoad.h"

void PrepareLoadedModel(Model& model)
{
    model.LoadMaterialTextures();
    model.ComputeBoundingBoxes();
    model.TriangulateFaces();
    const HRESULT buffers = model.ComputeNormals();
    model.BuildDisplayList();
    // The last two steps rebuild what the normals step has just built from
    // the same data. When its buffer setup succeeded they would give the same
    // arrays and buffers again, so only a failed setup is tried once more
    // (and reports its failure once more).
    if (buffers == S_OK) return;
    model.BuildRenderArrays();
    if (model.SetupBufferObjects() == S_OK) model.buffersReady = true;
}
