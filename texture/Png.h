// The OpenGL half of the PNG reader (Png.cpp): one call that turns a PNG
// file into a finished texture, in the manner of the glpng library: decode,
// create, upload level 0, set wrap and filters.
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

// Reads `path`, creates a texture bound to GL_TEXTURE_2D holding level 0 only
// (GL_RGB, or GL_RGBA when the file has alpha), top row first, with both wrap
// modes set to `wrap` and the two filters given, all with glTexParameteri.
// Sides become powers of two only when the context requires it. The unpack
// state is left as found. Returns the texture's name, or 0 on any failure.
GLuint PngBind(const std::string& path, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter);

struct TextureImage;

// The upload half of PngBind: creates and fills the texture from a decoded
// image (scaled first when the context requires it); 0 if it cannot.
GLuint UploadPngImage(TextureImage& image, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter);

// True when the context takes textures whose sides are not powers of two.
bool TakesAnyTextureSize();
