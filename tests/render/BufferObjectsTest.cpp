#include "GlDriverPlay.h"
#include "MeshBuilder.h"
#include "platform/BufferObjectApi.h"
#include "render/PostLoad.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

static bool operator==(const Vector3& a, const Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

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
    model.meshCount = 3;
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

std::vector<Vector3> Normals(const Model& model, std::size_t mesh) { return *model.meshes[mesh].normals; }

TEST_F(BufferObjects, EmptyDataGetsNoBufferAndRepeatedCommandsKeepTheNameCount)
{
    testing_support::MessageRecorder recorder;
    Model model;
    FillModel(model);
    PrepareLoadedModel(model);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_TRUE(model.buffersReady);

    const MeshRecord& square = model.meshes[0];
    EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER_ARB, square.vertexBuffer), 4 * 32);
    EXPECT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER_ARB, (*square.renderGroups)[0].indexBuffer), 2 * 12);
    EXPECT_EQ((*square.renderGroups)[1].indexBuffer, kNoGlName);
    EXPECT_EQ(model.meshes[1].vertexBuffer, kNoGlName);
    EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER_ARB, model.meshes[2].vertexBuffer), 3 * 32);
    EXPECT_EQ(render_testing::LiveBufferObjects(), 4);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 1);

    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(model.ComputeNormals(), S_OK);
        EXPECT_EQ(model.InvertNormals(), S_OK);
        model.BuildDisplayList();
        model.BuildRenderArrays();
        EXPECT_EQ(model.SetupBufferObjects(), S_OK);
    }
    EXPECT_EQ(render_testing::LiveBufferObjects(), 4);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 1);

    model.Clear();
    EXPECT_EQ(render_testing::LiveBufferObjects(), 0);
    EXPECT_EQ(render_testing::LiveDisplayLists(), 0);
}

TEST_F(BufferObjects, InvertingTwiceOrRecomputingRestoresTheNormalsOfEveryPath)
{
    Model model;
    FillModel(model);
    PrepareLoadedModel(model);
    const auto computed = Normals(model, 0);
    EXPECT_EQ(computed[0], (Vector3{0, 0, 1}));

    model.InvertNormals();
    EXPECT_EQ(Normals(model, 0)[2], (Vector3{0, 0, -1}));
    EXPECT_EQ((*model.meshes[0].interleavedVertices)[2].nz, -1.0f);
    model.InvertNormals();
    EXPECT_EQ(Normals(model, 0), computed);
    model.InvertNormals();
    model.ComputeNormals();
    EXPECT_EQ(Normals(model, 0), computed);
    EXPECT_EQ((*model.meshes[0].interleavedVertices)[2].nz, 1.0f);
}

TEST_F(BufferObjects, WithoutTheExtensionTheLoadWarnsTwiceAndEachCommandOnceMore)
{
    for (const char* extensions : {"GL_ARB_multitexture GL_EXT_vertex_array", static_cast<const char*>(nullptr)}) {
        render_testing::ScopedExtensionString driver(extensions);
        testing_support::MessageRecorder recorder;
        Model model;
        FillModel(model);
        PrepareLoadedModel(model);
        EXPECT_FALSE(model.buffersReady);
        EXPECT_EQ(model.ComputeNormals(), E_FAIL);
        EXPECT_EQ(model.InvertNormals(), E_FAIL);
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
        Model model;
        FillModel(model);
        model.BuildRenderArrays();
        EXPECT_EQ(model.SetupBufferObjects(), E_FAIL);
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
    Model model;
    FillModel(model);
    PrepareLoadedModel(model);
    ASSERT_TRUE(model.buffersReady);
    {
        render_testing::ScopedEntryPoints driver("", [](const std::string& name) {
            return name == "glBufferDataARB" ? reinterpret_cast<platform::GlProc>(AllocateNothing) : nullptr;
        });
        EXPECT_EQ(model.ComputeNormals(), E_FAIL);
    }
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "glBufferDataARB failed to allocate any memory!");
    EXPECT_EQ(recorder.messages()[0].caption, "ERROR");
    EXPECT_TRUE(model.buffersReady);  // a failed setup never clears it
    EXPECT_EQ(model.meshes[0].vertexBuffer, kNoGlName);
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(bound, 0);
    // The setup stopped at the first mesh: the last one keeps its earlier vertex buffer, still recorded.
    EXPECT_EQ(render_testing::LiveBufferObjects(), 1);
    EXPECT_NE(model.meshes[2].vertexBuffer, kNoGlName);
}

// Fills every buffer but the fourth of each setup: with two meshes of one
// material, that is the index buffer of the second mesh.
int bufferDataCalls = 0;
void APIENTRY FailEveryFourthCall(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage)
{
    if (++bufferDataCalls % 4 == 0) return;
    reinterpret_cast<PFNGLBUFFERDATAARBPROC>(render_testing::DriverProc("glBufferDataARB"))(target, size, data, usage);
}

TEST_F(BufferObjects, BuffersNotReadyDrawNothingNotEvenTheMeshesUploaded)
{
    testing_support::MessageRecorder recorder;
    Model model;
    for (float x : {-1.0f, 0.0f}) {
        MeshRecord square = MakeMesh({}, {}, {}, {{}});
        render_testing::AddSquare(square, x, -1, x + 1, 1, 0, 0);
        model.meshes.push_back(std::move(square));
    }
    bufferDataCalls = 0;
    {
        render_testing::ScopedEntryPoints driver("", [](const std::string& name) {
            return name == "glBufferDataARB" ? reinterpret_cast<platform::GlProc>(FailEveryFourthCall) : nullptr;
        });
        PrepareLoadedModel(model);
    }
    ASSERT_FALSE(model.buffersReady);
    ASSERT_NE(model.meshes[0].vertexBuffer, kNoGlName);
    ASSERT_NE(model.meshes[0].renderGroups->at(0).indexBuffer, kNoGlName);

    InitGL(64, 64);
    auto draw = [&](const ViewOptions& options) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&model, options, 0, 0);
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
