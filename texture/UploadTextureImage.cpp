#include "texture/LoadTexture.h"
#include "platform/GlEntryPoints.h"
#include "texture/PixelStore.h"

#include <GL/glu.h>

void LoadTexture::UploadTextureImage(TextureImage image, GLenum minFilter)
{
    // A texture held before would be lost otherwise.
    ReleaseTexture();
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
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
