// How a message names the object it speaks of. Names go in as the reader
// shows them (the text reader as the file spells them, the binary one with
// control bytes made readable).
#pragma once

#include <string>
#include <string_view>

namespace objects {

// "l'objet Mesh "Cube"", or "l'objet Mesh" when the object has no name.
std::string ObjectLabel(std::string_view type, std::string_view name);

// "l'objet MeshMaterialList de la mesh "Cube"": an object inside a mesh.
std::string MeshPartLabel(std::string_view type, std::string_view meshName);

}  // namespace objects
