// The two halves of the DDS reader (Dds.cpp) around its decoder: reading the
// file, and handing the decoded levels to OpenGL.
#pragma once

#include "texture/Decoders.h"
#include "texture/FileBytes.h"

#include <GL/glext.h>

// The header and at most the data its levels need; nothing when the file
// cannot be read.
std::optional<FileBuffer> ReadDdsBytes(const std::string& path, std::uint32_t maxSide);

// Uploads every level of the image into the texture bound to GL_TEXTURE_2D.
void UploadDdsLevels(const DdsImage& image, PFNGLCOMPRESSEDTEXIMAGE2DARBPROC compressedTexImage2D);
