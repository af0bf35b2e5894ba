#include "GlDriverPlay.h"
#include "MeshBuilder.h"
#include "platform/BufferObjectApi.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

namespace {

using platform::MessageKind;
using render_testing::MakeMesh;

class BufferObjects : public testing_support::GlTest {};

// A square with a second material that no face uses, a mesh without
// vertices, and a triangle.
void FillModel(Model& model)
{
    MeshRecord square = MakeMesh({}, {}, {}, {{}, {}});
    render_testing::AddSquare(square, -1, -1, 1, 1, 0, 0);
    model.meshes.push_back(std::move(square));
    model.meshes.push_back(MakeMesh({}, {}, {}, {{}}));
    model.meshes.push_back(MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}, {0}, {{}}));
}

GLint BufferSize(GLenum target, GLuint name)
{
    const auto& api = platform::TheBufferObjectApi();
    GLint size = 0;
    api.bindBuffer(target, name);
    api.getBufferParameteriv(target, GL_BUFFER_SIZE_ARB, &size);
    api.bindBuffer(target, 0);
    return size;
}

MeshRecord::VertexList Normals(const Model& model, std::size_t mesh) { return *model.meshes[mesh].normals; }

TEST_F(BufferObjects, TwoBuffersHoldEveryMeshAndRepeatedCommandsKeepTheNameCount)
{
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    FillModel(loaded.model);
    PrepareLoadedModel(loaded);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_TRUE(loaded.render.buffersReady);

    // Vertices of the square (4) and the triangle (3); indices of the
    // square's two triangles and the triangle's one.
    const RenderModel& render = loaded.render;
    EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER_ARB, render.vertexBuffer.get()), 7 * 32);
    EXPECT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER_ARB, render.indexBuffer.get()), 3 * 12);
    EXPECT_EQ(render.meshes[2].vertexOffset, 4u * 32);
    EXPECT_EQ((*render.meshes[2].renderGroups)[0].indexOffset, 2u * 12);
    EXPECT_EQ(render_testing::LiveBufferObjects(), 2);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 1);

    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(loaded.ComputeNormals(), S_OK);
        EXPECT_EQ(loaded.InvertNormals(), S_OK);
        loaded.render.BuildDisplayList(loaded.model);
        loaded.render.BuildRenderArrays(loaded.model);
        EXPECT_EQ(loaded.render.SetupBufferObjects(), S_OK);
    }
    EXPECT_EQ(render_testing::LiveBufferObjects(), 2);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 1);

    loaded.Clear();
    EXPECT_EQ(render_testing::LiveBufferObjects(), 0);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 0);
}

TEST_F(BufferObjects, InvertingTwiceOrRecomputingRestoresTheNormalsOfEveryPath)
{
    LoadedModel loaded;
    FillModel(loaded.model);
    PrepareLoadedModel(loaded);
    const auto computed = Normals(loaded.model, 0);
    EXPECT_EQ(computed[0], (Vector3{0, 0, 1}));

    loaded.InvertNormals();
    EXPECT_EQ(Normals(loaded.model, 0)[2], (Vector3{0, 0, -1}));
    EXPECT_EQ((*loaded.render.meshes[0].interleavedVertices)[2].nz, -1.0f);
    loaded.InvertNormals();
    EXPECT_EQ(Normals(loaded.model, 0), computed);
    loaded.InvertNormals();
    loaded.ComputeNormals();
    EXPECT_EQ(Normals(loaded.model, 0), computed);
    EXPECT_EQ((*loaded.render.meshes[0].interleavedVertices)[2].nz, 1.0f);
}

TEST_F(BufferObjects, WithoutTheExtensionTheLoadWarnsTwiceAndEachCommandOnceMore)
{
    for (const char* extensions : {"GL_ARB_multitexture GL_EXT_vertex_array", static_cast<const char*>(nullptr)}) {
        render_testing::ScopedExtensionString driver(extensions);
        testing_support::MessageRecorder recorder;
        LoadedModel loaded;
        FillModel(loaded.model);
        PrepareLoadedModel(loaded);
        EXPECT_FALSE(loaded.render.buffersReady);
        EXPECT_EQ(loaded.ComputeNormals(), E_FAIL);
        EXPECT_EQ(loaded.InvertNormals(), E_FAIL);
        ASSERT_EQ(recorder.messages().size(), 4u);
        for (const auto& message : recorder.messages()) {
            EXPECT_EQ(message.text, "ARB_vertex_buffer_object extension was not found");
            EXPECT_EQ(message.caption, "ERROR");
            EXPECT_EQ(message.kind, MessageKind::Warning);
        }
        EXPECT_EQ(render_testing::LiveBufferObjects(), 0);
    }
}

TEST_F(BufferObjects, AMissingEntryPointIsReported)
{
    for (const char* missing : {"glBindBufferARB", "glGetBufferPointervARB"}) {
        render_testing::ScopedEntryPoints driver(missing);
        testing_support::MessageRecorder recorder;
        LoadedModel loaded;
        FillModel(loaded.model);
        loaded.render.BuildRenderArrays(loaded.model);
        EXPECT_EQ(loaded.render.SetupBufferObjects(), E_FAIL);
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text, "One or more ARB_vertex_buffer_object functions were not found");
        EXPECT_EQ(recorder.messages()[0].caption, "ERROR");
        EXPECT_EQ(recorder.messages()[0].kind, MessageKind::Warning);
    }
}

void APIENTRY AllocateNothing(GLenum, GLsizeiptrARB, const void*, GLenum) {}

TEST_F(BufferObjects, AnAllocationFailureIsReportedAndKeepsNoBuffer)
{
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    FillModel(loaded.model);
    PrepareLoadedModel(loaded);
    ASSERT_TRUE(loaded.render.buffersReady);
    {
        render_testing::ScopedEntryPoints driver("", [](const std::string& name) {
            return name == "glBufferDataARB" ? reinterpret_cast<platform::GlProc>(AllocateNothing) : nullptr;
        });
        EXPECT_EQ(loaded.ComputeNormals(), E_FAIL);
    }
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "glBufferDataARB failed to allocate any memory!");
    EXPECT_EQ(recorder.messages()[0].caption, "ERROR");
    EXPECT_TRUE(loaded.render.buffersReady);  // a failed setup never clears it
    EXPECT_FALSE(loaded.render.vertexBuffer);
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(bound, 0);
    // The setup stopped at the vertex buffer: the earlier index buffer stays, still recorded.
    EXPECT_EQ(render_testing::LiveBufferObjects(), 1);
    EXPECT_TRUE(loaded.render.indexBuffer);
}

// Fills the vertex buffer of each setup but not its index buffer.
int bufferDataCalls = 0;
void APIENTRY FailEverySecondCall(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage)
{
    if (++bufferDataCalls % 2 == 0) return;
    reinterpret_cast<PFNGLBUFFERDATAARBPROC>(render_testing::DriverProc("glBufferDataARB"))(target, size, data, usage);
}

TEST_F(BufferObjects, BuffersNotReadyDrawNothing)
{
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    for (float x : {-1.0f, 0.0f}) {
        MeshRecord square = MakeMesh({}, {}, {}, {{}});
        render_testing::AddSquare(square, x, -1, x + 1, 1, 0, 0);
        loaded.model.meshes.push_back(std::move(square));
    }
    bufferDataCalls = 0;
    {
        render_testing::ScopedEntryPoints driver("", [](const std::string& name) {
            return name == "glBufferDataARB" ? reinterpret_cast<platform::GlProc>(FailEverySecondCall) : nullptr;
        });
        PrepareLoadedModel(loaded);
    }
    ASSERT_FALSE(loaded.render.buffersReady);
    ASSERT_TRUE(loaded.render.vertexBuffer);

    InitGL(64, 64);
    auto draw = [&](const ViewOptions& options) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 0, 0);
        return context->ReadPixels();
    };
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const auto background = context->ReadPixels();
    ViewOptions immediate;
    immediate.useBufferObjects = false;
    EXPECT_NE(draw(immediate), background);
    EXPECT_EQ(draw(ViewOptions{}), background) << "the buffer path drew without its buffers ready";
}

}  // namespace
