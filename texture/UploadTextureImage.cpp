#include "texture/LoadTexture.h"
#include "platform/GlEntryPoints.h"
#include "texture/PixelStore.h"

#include <GL/glu.h>

void LoadTexture::UploadTextureImage(TextureImage image, GLenum minFilter)
{
    // A texture held before goes first.
    ReleaseTexture();
    GLuint name = 0;
    glGenTextures(1, &name);
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    glBindTexture(GL_TEXTURE_2D, name);
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
