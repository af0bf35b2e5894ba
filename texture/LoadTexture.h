// The texture object of a material: one OpenGL 2D texture, loaded from an
// image file chosen by its extension, owned until released.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// A decoded image on its way to the upload: 8-bit samples, rows packed with
// no padding, top row first.
struct TextureImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3;  // 3: RGB, 4: RGBA
    std::vector<std::uint8_t> pixels;
};

// A texture file as the model names it, and where it is actually read from.
struct TextureFile {
    std::string name;  // as written in the model; messages name this
    std::string path;  // the file to open
};

class LoadTexture {
public:
    static constexpr GLuint kNone = 0xFFFFFFFFu;

    LoadTexture() = default;
    ~LoadTexture() { ReleaseTexture(); }
    LoadTexture(const LoadTexture&) = delete;
    LoadTexture& operator=(const LoadTexture&) = delete;
    LoadTexture(LoadTexture&& other) noexcept : textureId(other.textureId) { other.textureId = kNone; }
    LoadTexture& operator=(LoadTexture&& other) noexcept;

    // Chooses a reader by the extension of `fileName` and runs it. The file is
    // looked for as written, then in `modelFolder` (see ResolveTextureFile).
    HRESULT DoLoadTexture(const std::string& fileName, const std::string& modelFolder = {});

    void ReleaseTexture();
    GLuint GetTextureId() const { return textureId == kNone ? 0 : textureId; }

    // The readers; each creates the texture only once its file has been read.
    HRESULT Load_Ppm(const TextureFile& file);
    HRESULT Load_TGA(const TextureFile& file);
    HRESULT Load_BMP(const TextureFile& file);
    HRESULT Load_Jpeg(const TextureFile& file);
    HRESULT Load_PNG(const TextureFile& file);
    HRESULT Load_DDS(const TextureFile& file);

    // Creates, fills and sets up the texture from a decoded image.
    void UploadTextureImage(TextureImage image, GLenum minFilter);

    GLuint textureId = kNone;
};
