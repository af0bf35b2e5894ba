#include "render/Scene.h"
#include "model/Model.h"
#include "CorpusTable.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct ExpectedRow {
    std::string file;
    int meshes = 0, vertices = 0, faces = 0, materials = 0, textured = 0;
    float extent = 1;  // largest distance of a box coordinate from the origin
};

std::vector<ExpectedRow> LoadedRows()
{
    std::vector<ExpectedRow> rows;
    for (const auto& listed : testing_support::ReadCorpusTable()) {
        const auto& cells = listed.columns;
        if (listed.status != "loaded" || cells.size() < 6) continue;
        ExpectedRow row{listed.file, std::stoi(cells[0]), std::stoi(cells[1]), std::stoi(cells[2]), std::stoi(cells[3]),
                        std::stoi(cells[4])};
        for (const auto& value : testing_support::SplitAt(cells[5], ','))
            row.extent = std::max(row.extent, std::fabs(std::stof(value)));
        rows.push_back(row);
    }
    return rows;
}

// Messages a texture reader gives end with the reader's name.
bool ComesFromATexture(const platform::RecordedMessage& message)
{
    for (const char* reader : {"DoLoadTexture", "Load_Ppm", "Load_TGA", "Load_BMP", "Load_Jpeg", "Load_PNG", "Load_DDS"})
        if (message.text.ends_with(reader)) return true;
    return false;
}

class CorpusRendering : public ::testing::Test {
protected:
    static constexpr int kSize = 128;
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
    }
    std::unique_ptr<platform::HeadlessContext> context;
};

TEST_F(CorpusRendering, EveryLoadedFileDrawsOnEveryPathWithItsFanTriangles)
{
    const std::vector<ExpectedRow> rows = LoadedRows();
    ASSERT_GE(rows.size(), 9u);
    for (const ExpectedRow& row : rows) {
        SCOPED_TRACE(row.file);
        testing_support::MessageRecorder recorder;
        Model model;
        ASSERT_EQ(model.Load(testing_support::CorpusPath(row.file)), S_OK);
        for (const auto& message : recorder.messages()) EXPECT_TRUE(ComesFromATexture(message)) << message.text;
        EXPECT_TRUE(model.buffersReady);

        int vertices = 0, faces = 0, materials = 0;
        for (const MeshRecord& mesh : model.meshes) {
            vertices += mesh.vertexCount();
            faces += mesh.faceCount();
            materials += mesh.materialCount();
            EXPECT_EQ(mesh.normalCount(), mesh.vertexCount());
        }
        EXPECT_EQ(static_cast<int>(model.meshes.size()), row.meshes);
        EXPECT_EQ(vertices, row.vertices);
        EXPECT_EQ(faces, row.faces);
        EXPECT_EQ(materials, row.materials);

        AimCamera(3 * row.extent);
        const std::vector<std::uint8_t> background = [&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            return context->ReadPixels();
        }();
        for (int path = 0; path < 4; ++path) {
            ViewOptions options;
            options.useDisplayList = path == 1;
            options.useIndexedArrays = path == 2;
            options.useBufferObjects = path == 3;
            options.drawNormals = options.drawBoundingBox = path == 0;
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            DrawModelScene(&model, options, 20, 30);
            EXPECT_NE(context->ReadPixels(), background) << "path " << path;
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
