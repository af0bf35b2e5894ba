// Readers of what a mesh's file says of its surface beside its faces:
// "MeshNormals" (normals and a normal for each face corner) and
// "MeshVertexColors". Their numbers are read as one run up to the block's
// end, by the rules both readers share; what does not fit the mesh is left
// out, and never makes a file fail.
#include "model/objects/SurfaceRules.h"
#include "model/text/BlockNumbers.h"
#include "model/text/TextWalk.h"

void TextReader::ReadMeshNormals(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    BlockNumbers numbers = NumberRunOfBlock(line, nullptr);
    surface_rules::ReadStoredNormals(numbers, currentMesh_);
}

void TextReader::ReadMeshVertexColors(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    BlockNumbers numbers = NumberRunOfBlock(line, nullptr);
    surface_rules::ReadVertexColors(numbers, currentMesh_);
}
