// The offscreen context the tests draw into, and the one owner of each
// OpenGL name.
#include "platform/BufferObjectApi.h"
#include "platform/GlName.h"
#include "TestSupport.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <EGL/egl.h>

#include <utility>

namespace {

class GlObjects : public testing_support::GlTest {};

TEST_F(GlObjects, TheOffscreenContextClearsItsFramebuffer)
{
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto pixels = context->ReadPixels();
    ASSERT_EQ(pixels.size(), 64u * 64u * 4u);
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_NE(glGetString(GL_EXTENSIONS), nullptr);
}

TEST_F(GlObjects, EachNameIsDeletedOnceByItsLastOwner)
{
    using platform::GlName;
    using platform::GlObjectKind;
    auto& api = platform::TheBufferObjectApi();
    api.deleteBuffers = reinterpret_cast<PFNGLDELETEBUFFERSARBPROC>(eglGetProcAddress("glDeleteBuffersARB"));
    auto genBuffers = reinterpret_cast<PFNGLGENBUFFERSARBPROC>(eglGetProcAddress("glGenBuffersARB"));
    auto bindBuffer = reinterpret_cast<PFNGLBINDBUFFERARBPROC>(eglGetProcAddress("glBindBufferARB"));
    auto isBuffer = reinterpret_cast<PFNGLISBUFFERARBPROC>(eglGetProcAddress("glIsBufferARB"));

    GLuint texture = 0, buffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    genBuffers(1, &buffer);
    bindBuffer(GL_ARRAY_BUFFER_ARB, buffer);
    bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    {
        GlName first(GlObjectKind::Texture, texture);
        GlName owners[] = {GlName(GlObjectKind::Buffer, buffer), GlName(GlObjectKind::DisplayList, list)};
        GlName moved = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(moved.get(), texture);
        GlName assigned;
        assigned = std::move(owners[0]);
        EXPECT_EQ(assigned.get(), buffer);
        EXPECT_TRUE(glIsTexture(texture) && isBuffer(buffer) && glIsList(list));
    }
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(isBuffer(buffer));
    EXPECT_FALSE(glIsList(list));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    api = {};
}

}  // namespace
