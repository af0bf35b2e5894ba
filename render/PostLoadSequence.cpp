#include "model/Model.h"
#include "render/PostLoad.h"

void PrepareLoadedModel(Model& model)
{
    model.LoadMaterialTextures();
    model.ComputeBoundingBoxes();
    model.TriangulateFaces();
    model.ComputeNormals();
    model.BuildDisplayList();
    model.BuildRenderArrays();
    if (model.SetupBufferObjects() == S_OK) model.buffersReady = true;
}
