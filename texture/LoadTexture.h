// The texture object of a material: one OpenGL 2D texture, loaded from an
// image file chosen by its extension, owned until released. The readers'
// decoders are in Decoders.h, each reader in the file of its format.
#pragma once

#include "platform/GlName.h"
#include "platform/ResultCodes.h"
#include "texture/Decoders.h"
#include "texture/TextureFacts.h"
#include "texture/TextureSource.h"

#include <GL/gl.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class LoadTexture {
public:
    // `ddsAlpha`: whether a DDS file's alpha is classified too (see DdsAlpha);
    // every other format's is, from the decoded image.
    explicit LoadTexture(DdsAlpha ddsAlpha = DdsAlpha::Skip) : ddsAlpha_(ddsAlpha) {}

    // Chooses a reader by the extension of `fileName` and runs it (with
    // ContentOnRefusal, see ReadChoosingByContent). The file is looked for as
    // written, then in `modelFolder` (see ResolveTextureFile).
    HRESULT DoLoadTexture(const std::string& fileName, const std::string& modelFolder = {},
                          ReaderChoice choice = ReaderChoice::ByExtension);
    // The same for a file already looked for.
    HRESULT DoLoadTexture(const TextureFile& file, ReaderChoice choice = ReaderChoice::ByExtension);

    void ReleaseTexture()
    {
        textureId.Reset();
        facts_.reset();
    }
    // The name to bind: the texture's, or 0 when there is none.
    GLuint GetTextureId() const { return textureId ? textureId.get() : 0; }
    // What the texture a reader loaded is; none before a load succeeds.
    const std::optional<TextureFacts>& facts() const { return facts_; }

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

private:
    DdsAlpha ddsAlpha_;
    std::optional<TextureFacts> facts_;

    // Releases a texture held before and binds a fresh name, owned here.
    void BindNewTexture();

    // The common path of the readers that end in UploadTextureImage: read and
    // decode the file (ReadTextureFile, which tells what the reader has to
    // say), then upload the image.
    HRESULT ReadDecodeUpload(const TextureFile& file, TextureFormat format, GLenum minFilter);
};

// Client pixel-store state for reading packed rows: alignment 1 and no row
// length or skips, for one scope; the state found is put back afterwards.
class PackedPixelStore {
public:
    PackedPixelStore();
    ~PackedPixelStore();
    PackedPixelStore(const PackedPixelStore&) = delete;
    PackedPixelStore& operator=(const PackedPixelStore&) = delete;
};
