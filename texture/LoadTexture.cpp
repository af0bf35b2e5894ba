#include "texture/LoadTexture.h"

#include "platform/GlEntryPoints.h"
#include "texture/ImageLimits.h"
#include "texture/TexturePath.h"

#include <GL/glu.h>

namespace {

using Reader = HRESULT (LoadTexture::*)(const TextureFile&);

Reader ReaderOf(TextureFormat format)
{
    switch (format) {
    case TextureFormat::Jpeg: return &LoadTexture::Load_Jpeg;
    case TextureFormat::Tga: return &LoadTexture::Load_TGA;
    case TextureFormat::Bmp: return &LoadTexture::Load_BMP;
    case TextureFormat::Ppm: return &LoadTexture::Load_Ppm;
    case TextureFormat::Png: return &LoadTexture::Load_PNG;
    case TextureFormat::Dds: return &LoadTexture::Load_DDS;
    }
    return nullptr;
}

}  // namespace

HRESULT LoadTexture::DoLoadTexture(const std::string& fileName, const std::string& modelFolder, ReaderChoice choice)
{
    return DoLoadTexture(TextureFile{fileName, ResolveTextureFile(fileName, modelFolder)}, choice);
}

HRESULT LoadTexture::DoLoadTexture(const TextureFile& file, ReaderChoice choice)
{
    const auto format = ChooseTextureFormat(file.name);
    if (!format) return E_FAIL;
    HRESULT result = E_FAIL;
    ReadChoosingByContent(choice, *format, file.path, [&](TextureFormat reader) {
        result = (this->*ReaderOf(reader))(file);
        return result != E_FAIL;
    });
    return result;
}

HRESULT LoadTexture::ReadDecodeUpload(const TextureFile& file, TextureFormat format, GLenum minFilter)
{
    // The file's bytes go with the temporary, before the upload makes its own copies.
    std::optional<TextureImage> image = ReadTextureFile(format, file, MaxTextureSide()).image;
    if (!image) return E_FAIL;
    const TextureFacts facts = ImageFacts(format, *image);
    UploadTextureImage(std::move(*image), minFilter);
    facts_ = facts;
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
