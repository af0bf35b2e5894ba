// The texture object of a material: one OpenGL 2D texture, loaded from an
// image file chosen by its extension, owned until released.
#pragma once

#include "platform/GlName.h"
#include "platform/ResultCodes.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The bytes of a decoded image: a vector of our own, or memory that a
// decoding library filled and keeps alive through the shared pointer, so
// that a large image is not copied only to be uploaded.
class PixelBytes {
public:
    PixelBytes() = default;
    PixelBytes(std::vector<std::uint8_t> bytes) : own_(std::move(bytes)) {}
    PixelBytes(std::shared_ptr<const std::uint8_t> shared, std::size_t size) : shared_(std::move(shared)), sharedSize_(size) {}

    const std::uint8_t* data() const { return shared_ ? shared_.get() : own_.data(); }
    std::size_t size() const { return shared_ ? sharedSize_ : own_.size(); }
    std::span<const std::uint8_t> bytes() const { return {data(), size()}; }
    const std::uint8_t& operator[](std::size_t index) const { return data()[index]; }
    bool operator==(const std::vector<std::uint8_t>& other) const { return std::ranges::equal(bytes(), other); }

private:
    std::vector<std::uint8_t> own_;
    std::shared_ptr<const std::uint8_t> shared_;
    std::size_t sharedSize_ = 0;
};

// A decoded image on its way to the upload: 8-bit samples, rows packed with
// no padding, top row first.
struct TextureImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3;  // 3: RGB, 4: RGBA
    PixelBytes pixels;
};

// A texture file as the model names it, and where it is actually read from.
struct TextureFile {
    std::string name;  // as written in the model; messages name this
    std::string path;  // the file to open
};

class LoadTexture {
public:
    // Chooses a reader by the extension of `fileName` and runs it. The file is
    // looked for as written, then in `modelFolder` (see ResolveTextureFile).
    HRESULT DoLoadTexture(const std::string& fileName, const std::string& modelFolder = {});

    void ReleaseTexture() { textureId.Reset(); }
    // The name to bind: the texture's, or 0 when there is none.
    GLuint GetTextureId() const { return textureId ? textureId.get() : 0; }

    // The readers; each creates the texture only once its file has been read.
    HRESULT Load_Ppm(const TextureFile& file);
    HRESULT Load_TGA(const TextureFile& file);
    HRESULT Load_BMP(const TextureFile& file);
    HRESULT Load_Jpeg(const TextureFile& file);
    HRESULT Load_PNG(const TextureFile& file);
    HRESULT Load_DDS(const TextureFile& file);

    // Creates, fills and sets up the texture from a decoded image.
    void UploadTextureImage(TextureImage image, GLenum minFilter);

    platform::GlName textureId;  // the texture this object owns, if any
};
