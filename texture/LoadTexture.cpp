#include "texture/LoadTexture.h"

#include "platform/AsciiCase.h"
#include "platform/GlEntryPoints.h"
#include "platform/Messages.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/TexturePath.h"

#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using Reader = HRESULT (LoadTexture::*)(const TextureFile&);

struct ReaderEntry {
    std::string_view extension;
    Reader reader;
};

// Looked up in this order.
constexpr std::array kReaders{
    ReaderEntry{"jpg", &LoadTexture::Load_Jpeg}, ReaderEntry{"jpeg", &LoadTexture::Load_Jpeg},
    ReaderEntry{"tga", &LoadTexture::Load_TGA},  ReaderEntry{"bmp", &LoadTexture::Load_BMP},
    ReaderEntry{"ppm", &LoadTexture::Load_Ppm},  ReaderEntry{"png", &LoadTexture::Load_PNG},
    ReaderEntry{"dds", &LoadTexture::Load_DDS},
};

}  // namespace

HRESULT LoadTexture::DoLoadTexture(const std::string& fileName, const std::string& modelFolder)
{
    return DoLoadTexture(TextureFile{fileName, ResolveTextureFile(fileName, modelFolder)});
}

HRESULT LoadTexture::DoLoadTexture(const TextureFile& file)
{
    const std::string_view extension = TextureExtension(file.name);
    const auto entry = std::find_if(kReaders.begin(), kReaders.end(), [&](const ReaderEntry& candidate) {
        return platform::EqualIgnoringAsciiCase(candidate.extension, extension);
    });
    if (entry == kReaders.end()) {
        platform::ShowMessage("Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture",
                              "Erreur", platform::MessageKind::Warning);
        return E_FAIL;
    }
    return (this->*(entry->reader))(file);
}

HRESULT LoadTexture::ReadDecodeUpload(const TextureFile& file, const TextureMessage& missing, ImageDecoder decode,
                                      GLenum minFilter)
{
    std::optional<TextureImage> image;
    {
        const auto bytes = ReadFileBytes(file.path);
        if (!bytes) {
            ShowTextureMessages({missing});
            return E_FAIL;
        }
        auto decoded = decode(*bytes, DecodeContext{file.name, MaxTextureSide()});
        ShowTextureMessages(decoded.messages);
        image = std::move(decoded.image);
    }  // the file's bytes go before the upload makes its own copies
    if (!image) return E_FAIL;
    UploadTextureImage(std::move(*image), minFilter);
    return S_OK;
}

void LoadTexture::BindNewTexture()
{
    // A texture held before goes first.
    ReleaseTexture();
    GLuint name = 0;
    glGenTextures(1, &name);
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    glBindTexture(GL_TEXTURE_2D, name);
}

void LoadTexture::UploadTextureImage(TextureImage image, GLenum minFilter)
{
    BindNewTexture();
    // A mipmapping filter while the levels go in tells the driver that a whole
    // chain is coming: it reserves the chain once, instead of reserving level 0
    // alone and copying it into a larger store when level 1 arrives.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    if (platform::HasCurrentGlContext()) {
        // The rows are packed; GLU reads them with the unpack state.
        const PackedPixelStore packed;
        gluBuild2DMipmaps(GL_TEXTURE_2D, image.components, static_cast<GLint>(image.width),
                          static_cast<GLint>(image.height), image.components == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE,
                          image.pixels.data());
    }
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(minFilter));
}

PackedPixelStore::PackedPixelStore()
{
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_PACK_LSB_FIRST, GL_FALSE);
}

PackedPixelStore::~PackedPixelStore() { glPopClientAttrib(); }
