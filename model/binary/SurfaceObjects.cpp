#include "model/binary/SurfaceObjects.h"

#include "model/objects/SurfaceRules.h"
#include "model/binary/ObjectNumbers.h"

namespace xfile {

void ReadMeshNormals(const Document& document, const DataObject& object, MeshRecord& mesh)
{
    Numbers numbers(document, object);
    surface_rules::ReadStoredNormals(numbers, mesh);
}

void ReadMeshVertexColors(const Document& document, const DataObject& object, MeshRecord& mesh)
{
    Numbers numbers(document, object);
    surface_rules::ReadVertexColors(numbers, mesh);
}

}  // namespace xfile
