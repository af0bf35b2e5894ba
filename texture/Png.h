// The OpenGL half of the PNG reader (Png.cpp): a decoded image into a
// finished texture, in the manner of the glpng library: create, upload level
// 0, set wrap and filters.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

struct PngInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t depth = 0;  // bits per sample of the texture (8)
    std::uint32_t alpha = 0;  // bits of alpha (0 or 8)
};

struct TextureImage;

// Creates a texture bound to GL_TEXTURE_2D holding level 0 only (GL_RGB, or
// GL_RGBA when the image has alpha), top row first, with both wrap modes set
// to `wrap` and the two filters given, all with glTexParameteri. Sides become
// powers of two (the image is scaled) only when the context requires it. The
// unpack state is left as found. Returns the texture's name, or 0 if it cannot.
GLuint UploadPngImage(TextureImage& image, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter);

// True when the context takes textures whose sides are not powers of two.
bool TakesAnyTextureSize();
