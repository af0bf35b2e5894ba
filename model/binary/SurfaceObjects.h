// The objects of a binary file that describe a mesh's surface beside its
// faces, read by the rules the text reader shares (surface_rules): what does
// not fit the mesh is left out, and never makes the file fail to load.
#pragma once

#include "model/Model.h"
#include "model/binary/Document.h"

namespace xfile {

// "MeshNormals": the normals and the normal of each face corner.
void ReadMeshNormals(const Document& document, const DataObject& object, MeshRecord& mesh);
// "MeshVertexColors": a vertex index and four colour components per entry.
void ReadMeshVertexColors(const Document& document, const DataObject& object, MeshRecord& mesh);

}  // namespace xfile
