// The Model that the data objects of a binary (or decompressed binary) ".x"
// file describe, read as the text reader reads the same objects: "Header",
// "Mesh" with its faces, "MeshMaterialList" with its materials and its
// references to shared ones, "Material", "TextureFilename",
// "MeshTextureCoords", and, for the scene as authored, "Frame",
// "FrameTransformMatrix", "SkinWeights" and the animations
// (AnimationObjects.h). Other objects are walked for the meshes they may
// hold; templates were skipped on the way in.
#pragma once

#include "model/Model.h"
#include "model/binary/Document.h"

#include <optional>
#include <string>

namespace xfile {

// The model, or nothing with a message in `error` when a count goes beyond
// the object's data or an index names nothing.
std::optional<Model> ModelFromObjects(const Document& document, std::string& error);
// The same from a document the caller gives up (it is left empty): a mesh's
// vertices, faces and lists go back to the system as they are read, so
// that a large document and its model never stand whole side by side.
std::optional<Model> ModelFromObjects(Document&& document, std::string& error);

}  // namespace xfile
