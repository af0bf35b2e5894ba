#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "CorpusTable.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct ExpectedRow {
    std::string file;
    int meshes = 0, vertices = 0, faces = 0, materials = 0, textured = 0;
};

std::vector<ExpectedRow> LoadedRows()
{
    std::vector<ExpectedRow> rows;
    for (const auto& listed : testing_support::ReadCorpusTable()) {
        const auto& cells = listed.columns;
        if (listed.status != "loaded" || cells.size() < 6) continue;
        ExpectedRow row{listed.file, std::stoi(cells[0]), std::stoi(cells[1]), std::stoi(cells[2]), std::stoi(cells[3]),
                        std::stoi(cells[4])};
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

// A picture of `model` drawn by pelmora-render along `path`, as a user
// would make it; empty when the tool fails.
std::string RenderWithTool(const std::string& model, const std::string& path, float distance,
                           const testing_support::TempDir& folder)
{
    const std::string picture = (folder.path() / (path + ".png")).string();
    const std::string command = std::string(PELMORA_RENDER_TOOL) + " --size 128x128 --yaw 30 --pitch 20 --distance " +
                                std::to_string(distance) + " --path " + path + " '" + model + "' '" + picture + "'";
    // The tool's standard error stays in the test's output, shown if it fails.
    if (const int status = std::system(command.c_str()); status != 0) {
        ADD_FAILURE() << command << ": status " << status;
        return {};
    }
    return testing_support::ReadFileBytes(picture);
}

bool IsOpaque(const testing_support::CorpusRow& row)
{
    // The last field of each mesh's detail is its opacity.
    for (const auto& mesh : testing_support::SplitAt(row.columns.back(), ';'))
        if (mesh.substr(mesh.rfind(':') + 1) != "1") return false;
    return true;
}

TEST(CorpusRendering, EveryLoadedFileKeepsItsFanTrianglesAndTexturesOnly)
{
    const std::vector<ExpectedRow> rows = LoadedRows();
    ASSERT_GE(rows.size(), 9u);
    platform::HeadlessContext context(16, 16);
    ASSERT_TRUE(context.Ok()) << context.Error();
    for (const ExpectedRow& row : rows) {
        SCOPED_TRACE(row.file);
        testing_support::MessageRecorder recorder;
        LoadedModel loaded;
        ASSERT_EQ(loaded.Load(testing_support::CorpusPath(row.file)), S_OK);
        const Model& model = loaded.model;
        for (const auto& message : recorder.messages()) EXPECT_TRUE(ComesFromATexture(message)) << message.text;
        EXPECT_TRUE(loaded.render.buffersReady);

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
    }
}

// Every opaque model of the corpus, drawn by the tool along each path: the
// four pictures are the same, and not the empty background.
TEST(CorpusRendering, TheFourPathsGiveTheSamePictureOfEveryOpaqueModel)
{
    testing_support::TempDir folder;
    // A mesh with nothing to draw (a file without a mesh gives no picture).
    const std::string empty = folder.Write("empty.x", "xof 0303txt 0032\nMesh nothing {\n0;;\n0;;\n}\n");
    const std::string background = RenderWithTool(empty, "immediate", 10, folder);
    ASSERT_FALSE(background.empty());
    int compared = 0;
    for (const auto& listed : testing_support::ReadCorpusTable()) {
        if (listed.status != "loaded" || !IsOpaque(listed)) continue;
        SCOPED_TRACE(listed.file);
        float extent = 1;  // largest distance of a box coordinate from the origin
        for (const auto& value : testing_support::SplitAt(listed.columns[5], ','))
            extent = std::max(extent, std::fabs(std::stof(value)));
        const std::string model = testing_support::CorpusPath(listed.file);
        const std::string immediate = RenderWithTool(model, "immediate", 3 * extent, folder);
        ASSERT_FALSE(immediate.empty());
        EXPECT_NE(immediate, background);
        for (const char* path : {"list", "arrays", "buffers"})
            EXPECT_TRUE(RenderWithTool(model, path, 3 * extent, folder) == immediate) << path;
        ++compared;
    }
    EXPECT_GE(compared, 9);
}

// A real animated model at one time of its set: the four paths draw the
// same picture, and a path switched to while the set plays shows the pose of
// that time in its first frame, although only the path drawn before followed.
TEST(CorpusRendering, TheFourPathsShowTheSamePoseOfAPlayingSet)
{
    constexpr int kSize = 96;
    platform::HeadlessContext context(kSize, kSize);
    ASSERT_TRUE(context.Ok()) << context.Error();
    InitGL(kSize, kSize);
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    ASSERT_EQ(loaded.Load(testing_support::CorpusPath("assimp/BCN_Epileptic.X"), PoseChoice{true}), S_OK);
    const std::optional<FittedView> view = FitView(loaded, kSize, kSize);
    ASSERT_TRUE(view);
    SetPerspective(kSize, kSize, view->frame, view->distance);
    AimCamera(view->distance);
    auto draw = [&](const PoseChoice& pose, DrawPath path) {
        ViewOptions options;
        SelectPath(options, path);
        loaded.ShowPose(pose, path);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 15, 30, view->frame.centre);
        glFinish();
        return context.ReadPixels();
    };
    const PoseChoice still{true}, playing{true, 0, 0.8}, later{true, 0, 2.1};
    const auto rest = draw(still, DrawPath::Immediate);
    const auto immediate = draw(playing, DrawPath::Immediate);
    EXPECT_NE(immediate, rest);
    for (const DrawPath path : {DrawPath::DisplayList, DrawPath::IndexedArrays, DrawPath::BufferObjects})
        EXPECT_TRUE(draw(playing, path) == immediate) << static_cast<int>(path);

    // The set plays on along the buffer objects alone; then each other path is chosen.
    for (double seconds = 0.9; seconds < 2.1; seconds += 0.1) draw({true, 0, seconds}, DrawPath::BufferObjects);
    const auto buffers = draw(later, DrawPath::BufferObjects);
    for (const DrawPath path : {DrawPath::DisplayList, DrawPath::IndexedArrays, DrawPath::Immediate})
        EXPECT_TRUE(draw(later, path) == buffers) << static_cast<int>(path);
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
