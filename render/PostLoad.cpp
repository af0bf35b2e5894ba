#include "model/Model.h"
#include "render/PostLoad.h"

#include <utility>

// The reader sorts the meshes by opacity; the rest of the preparation runs
// only when the whole file was read. A failed buffer setup does not fail the load.
HRESULT Model::Load(const std::string& path)
{
    if (ReadFile(path) != S_OK) return E_FAIL;
    PrepareLoadedModel(*this);
    return S_OK;
}

HRESULT Model::LoadFromMemory(const std::string& path, std::string bytes)
{
    if (ReadMemory(path, std::move(bytes)) != S_OK) return E_FAIL;
    PrepareLoadedModel(*this);
    return S_OK;
}
