// Files built to look like what exporters and damaged downloads produce,
// each costing little to write and much to a careless reader: many meshes,
// many counted words, many references, images that claim more than they hold.
#pragma once

#include <string>

namespace cost_inputs {

// `count` meshes of one triangle each.
std::string ManyMeshes(int count);
// `count` lines that begin with the word "Mesh" inside another object: no
// "Mesh" block at all.
std::string ManyMeshWords(int count);
// `count` shared materials, each referenced once from one material list.
std::string ManyReferences(int count);

// `count` frames, and one mesh with a skin for each of them.
std::string ManyBones(int count);

// A mesh of `materials` materials that all name `textureFile`.
std::string MaterialsOnOneTexture(int materials, const std::string& textureFile);

// A PNG whose header declares width × height and whose data holds 100 bytes.
std::string PngClaimingSize(int width, int height);
// A JPEG whose header declares width × height, its scan cut after a few
// bytes, with or without the end-of-image marker after the cut.
std::string JpegCutShort(int width, int height, bool endMarker);
// A valid JPEG of side × side pixels that does not compress away.
std::string NoisyJpeg(int side);

}  // namespace cost_inputs
