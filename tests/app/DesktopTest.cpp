// What a user meets on the desktop: reload, the wheel, the fitted view at
// any aspect, the picture of the scene, the save and open dialogs' rules.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/MenuLayout.h"
#include "app/SceneImage.h"
#include "app/Shell.h"
#include "gltf/GltfExport.h"

#include <GL/gl.h>
#include <fnmatch.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

using testing_support::MessageRecorder;

class DesktopTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
        state.windowWidth = state.windowHeight = 64;
    }

    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    Shell shell{state, options, menu, dialogs, [] {}};
};

TEST_F(DesktopTest, ReloadKeepsTheViewAndTheAnimationAndFailsAsALoadDoes)
{
    testing_support::TempDir folder;
    const std::string path =
        folder.Write("model.x", testing_support::ReadFileBytes(testing_support::CorpusPath("assimp/Testwuson.X")));
    MessageRecorder recorder;
    shell.SetAnimationMenuReplacer([this](const MenuNode& replaced) { menu.Replace(replaced); });
    shell.LoadAtStart(path);
    ASSERT_TRUE(state.currentModel);
    shell.OnCommand(command::FirstAnimationSet + 1);
    state.playback.seconds = 1.25;
    shell.OnCommand(command::WirePolygons);
    shell.OnCommand(command::UpAxisZ);
    state.angleX = 20, state.angleY = -40;
    shell.OnCommand(command::FitView);
    const ViewFrame fitted = state.viewFrame;
    const float distance = state.cameraDistance;

    shell.OnCommand(command::Reload);
    ASSERT_TRUE(state.currentModel);
    EXPECT_EQ(state.playback.set, 1);
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1.25);
    EXPECT_TRUE(menu.IsChecked(command::FirstAnimationSet + 1));
    EXPECT_EQ(state.currentModel->render.pose().animationSet, 1);
    EXPECT_EQ(state.angleX, 20);
    EXPECT_EQ(state.angleY, -40);
    EXPECT_EQ(state.cameraDistance, distance);
    EXPECT_EQ(state.viewFrame.centre.x, fitted.centre.x);
    EXPECT_EQ(state.viewFrame.radius, fitted.radius);
    EXPECT_TRUE(options.asAuthored && options.upZ && menu.IsChecked(command::WirePolygons));
    EXPECT_TRUE(recorder.messages().empty());

    // Exported again, broken: the failure of "Load Mesh", after the loader's
    // message; the model on screen stays with its view, playback and menus.
    shell.OnCommand(command::PlayPause);
    const LoadedModel* shown = state.currentModel.get();
    const std::map<int, bool> marks = menu.marks;
    folder.Write("model.x", "xof 0303txt 0032\nMesh m {\n");
    shell.OnCommand(command::Reload);
    ASSERT_EQ(state.currentModel.get(), shown);
    EXPECT_TRUE(glIsList(shown->render.displayList.get()));
    EXPECT_TRUE(state.viewFrame.radius == fitted.radius && state.playback.set == 1 && state.playback.playing);
    EXPECT_EQ(menu.marks, marks);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages().back().text, "Chargement de la mesh échoué.");
    EXPECT_EQ(recorder.messages().back().caption, "Erreur");
    // Fixed: F5 again; the old model goes once the new one has loaded.
    std::filesystem::copy_file(testing_support::SamplePath("cube.x"), path,
                               std::filesystem::copy_options::overwrite_existing);
    const GLuint oldList = shown->render.displayList.get();
    shell.OnCommand(command::Reload);
    ASSERT_TRUE(state.currentModel);
    EXPECT_FALSE(glIsList(oldList));
    EXPECT_EQ(state.playback.set, -1) << "a set the file no longer has is not kept";
}

TEST_F(DesktopTest, TheWheelZoomsByAShareOfTheDistance)
{
    EXPECT_FLOAT_EQ(WheelCameraDistance(10, 1), 9);
    EXPECT_FLOAT_EQ(WheelCameraDistance(1000, 1), 900);
    EXPECT_FLOAT_EQ(WheelCameraDistance(0.5f, -2), 0.5f / 0.81f);
    EXPECT_NEAR(WheelCameraDistance(WheelCameraDistance(42, 3), -3), 42, 1e-4);
    EXPECT_GT(WheelCameraDistance(0, -1), 0) << "a camera in the origin can back off";

    shell.OnWheel(2);
    EXPECT_FLOAT_EQ(state.cameraDistance, 8.1f);
    EXPECT_FLOAT_EQ(state.drawnCameraDistance, 8.1f) << "the next frame shows it";
    shell.OnWheel(0.5);  // a fine-grained wheel
    EXPECT_NEAR(state.cameraDistance, 8.1 * std::sqrt(0.9), 1e-4);
}

TEST_F(DesktopTest, SwitchesOfTheOptionsMenuStartOffAndToggle)
{
    EXPECT_FALSE(menu.IsChecked(command::UpAxisZ) || menu.IsChecked(command::VertexColors));
    EXPECT_FALSE(options.upZ || options.vertexColors);
    shell.OnCommand(command::UpAxisZ);
    shell.OnCommand(command::VertexColors);
    EXPECT_TRUE(options.upZ && options.vertexColors);
    EXPECT_TRUE(menu.IsChecked(command::UpAxisZ) && menu.IsChecked(command::VertexColors));
    shell.OnCommand(command::VertexColors);
    EXPECT_FALSE(options.vertexColors);
    // The usual shortcuts, and reload's.
    for (const auto& [key, id] : {std::pair{"Ctrl+O", command::LoadMesh}, {"Ctrl+S", command::SaveText},
                                  {"Ctrl+Q", command::Quit}, {"F5", command::Reload}, {"F", command::FitView}})
        EXPECT_EQ(CommandOfAccelerator(MainMenuLayout(), key), id) << key;
}

TEST_F(DesktopTest, SaveDialogsNameTheirFilesAndAFailedSaveIsTold)
{
    // Upper-case ".X" files are listed too.
    const platform::FileDialogRequest open = OpenModelDialogRequest();
    auto listed = [&](const char* name) {
        std::stringstream patterns(open.filters.at(0).pattern);
        for (std::string pattern; std::getline(patterns, pattern, ';');)
            if (fnmatch(pattern.c_str(), name, 0) == 0) return true;
        return false;
    };
    for (const char* name : {"ROOM.X", "ninja.X", "mesh.x"}) EXPECT_TRUE(listed(name)) << name;
    EXPECT_FALSE(listed("mesh.xml"));

    EXPECT_EQ(SaveReportDialogRequest().defaultExtension, "txt");
    EXPECT_EQ(SaveImageDialogRequest().defaultExtension, "png");
    EXPECT_EQ(platform::WithDefaultExtension("/tmp/report", "txt"), "/tmp/report.txt");
    EXPECT_EQ(platform::WithDefaultExtension("/tmp/report.", "txt"), "/tmp/report.txt");
    EXPECT_EQ(platform::WithDefaultExtension("/tmp/report.log", "txt"), "/tmp/report.log");
    EXPECT_EQ(platform::WithDefaultExtension("/tmp/my.models/.report", "txt"), "/tmp/my.models/.report.txt");

    MessageRecorder recorder;
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    const std::string unwritable = "/nonexistent-folder/report.txt";
    dialogs.answers.push_back(unwritable);
    shell.OnCommand(command::SaveText);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].caption, "Erreur");
    EXPECT_NE(recorder.messages()[0].text.find(unwritable), std::string::npos);
    dialogs.answers.push_back("/nonexistent-folder/scene.png");
    shell.OnCommand(command::SaveImage);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_NE(recorder.messages()[1].text.find("/nonexistent-folder/scene.png"), std::string::npos);
}

// "Exporter en glTF…" asks as the other saves do, only with a model; a
// cancel writes nothing; a failed write is told with its reason, under the
// busy cursor meanwhile.
TEST_F(DesktopTest, ExportGltfAsksLikeTheOtherSavesAndTellsAFailedWrite)
{
    EXPECT_EQ(CommandOfAccelerator(MainMenuLayout(), "Ctrl+E"), command::ExportGltf);
    const platform::FileDialogRequest request = ExportGltfDialogRequest();
    EXPECT_EQ(request.kind, platform::FileDialogKind::Save);
    EXPECT_EQ(request.title, "Exporter en glTF...");
    EXPECT_EQ(request.defaultExtension, "glb");
    EXPECT_EQ(platform::WithDefaultExtension("/tmp/model", request.defaultExtension), "/tmp/model.glb");
    EXPECT_TRUE(gltf_export::WritesSeparateFiles(platform::WithDefaultExtension("/tmp/model.GLTF", "glb")));

    MessageRecorder recorder;
    std::vector<bool> working;
    shell.SetLongStepIndicator([&](bool on) { working.push_back(on); });
    shell.OnCommand(command::ExportGltf);  // no model: as "Save txt", nothing
    EXPECT_TRUE(dialogs.requests.empty());

    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    working.clear();
    testing_support::TempDir folder;
    dialogs.answers.push_back(std::nullopt);
    shell.OnCommand(command::ExportGltf);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Exporter en glTF...");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(working.empty());
    EXPECT_TRUE(recorder.messages().empty());

    const std::string unwritable = "/nonexistent-folder/model.glb";
    dialogs.answers.push_back(unwritable);
    shell.OnCommand(command::ExportGltf);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].caption, "Erreur");
    EXPECT_EQ(recorder.messages()[0].text.rfind("Le fichier " + unwritable + " n'a pas pu être écrit (", 0), 0u)
        << recorder.messages()[0].text;
    EXPECT_TRUE(recorder.messages()[0].text.ends_with("). Exporter en glTF")) << recorder.messages()[0].text;
    EXPECT_EQ(working, (std::vector<bool>{true, false}));
    EXPECT_TRUE(shell.CanDrawFrame());
}

// Needs the glTF writer itself: the dialog's path gets the model, as a .glb
// or as a .gltf with its buffer beside it, with the viewer's switches.
TEST_F(DesktopTest, ExportGltfWritesTheModelWithTheViewersSwitches)
{
    MessageRecorder recorder;
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    shell.OnCommand(command::UpAxisZ);
    testing_support::TempDir folder;
    const std::string glb = (folder.path() / "model.glb").string();
    dialogs.answers.push_back(glb);
    shell.OnCommand(command::ExportGltf);
    EXPECT_TRUE(recorder.messages().empty()) << recorder.messages().front().text;
    const std::string written = testing_support::ReadFileBytes(glb);
    ASSERT_EQ(written.substr(0, 4), "glTF");

    gltf_export::ExportOptions upZ;
    upZ.upZ = true;
    const std::vector<std::uint8_t> expected = gltf_export::ExportGlb(state.currentModel->model, upZ);
    EXPECT_EQ(written, std::string(expected.begin(), expected.end()));
    const std::vector<std::uint8_t> upright = gltf_export::ExportGlb(state.currentModel->model, {});
    EXPECT_NE(written, std::string(upright.begin(), upright.end())) << "the up axis did not reach the export";

    dialogs.answers.push_back((folder.path() / "model.gltf").string());
    shell.OnCommand(command::ExportGltf);
    EXPECT_NE(testing_support::ReadFileBytes((folder.path() / "model.gltf").string()).find("\"asset\""),
              std::string::npos);
    const auto files = std::filesystem::directory_iterator(folder.path());
    EXPECT_TRUE(std::any_of(begin(files), end(files), [](const auto& file) { return file.path().extension() == ".bin"; }));
}

// The size of a PNG and whether its corners are the clear colour.
struct PngFacts {
    png_uint_32 width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};
PngFacts ReadPng(const std::string& path)
{
    PngFacts facts;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return facts;
    image.format = PNG_FORMAT_RGBA;
    facts.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, facts.rgba.data(), 0, nullptr) == 0) return facts;
    facts.width = image.width, facts.height = image.height;
    return facts;
}

TEST_F(DesktopTest, ThePictureOfTheSceneHasTheWindowsSizeAndNoOverlay)
{
    testing_support::TempDir folder;
    MessageRecorder recorder;
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    state.drawnCameraDistance = state.cameraDistance = 4;
    dialogs.answers.push_back((folder.path() / "scene.png").string());
    shell.OnCommand(command::SaveImage);
    EXPECT_TRUE(recorder.messages().empty());
    const PngFacts picture = ReadPng((folder.path() / "scene.png").string());
    ASSERT_EQ(picture.width, 64u);
    ASSERT_EQ(picture.height, 64u);
    // The overlay's corner stays the clear colour (102 grey); the middle is the cube.
    EXPECT_EQ(picture.rgba[0], 102);
    EXPECT_EQ(picture.rgba[4 * (1 * 64 + 1)], 102);
    const std::size_t middle = 4 * (32 * 64 + 32);
    EXPECT_FALSE(picture.rgba[middle] == 102 && picture.rgba[middle + 1] == 102);
}

// The fitted model, drawn, fills 80 to 90 % of the window's smaller side,
// whatever the window's shape, the turn and the vertical axis.
TEST(FittedView, FillsMostOfTheSmallerSideAtAnyAspect)
{
    struct Case {
        const char* model;
        int width, height;
        SceneTurn turn;
    };
    for (const Case& c : {Case{"assimp/BCN_Epileptic.X", 160, 120, {15, 30, false, true}},
                          Case{"assimp/BCN_Epileptic.X", 240, 60, {0, 0, false, true}},
                          Case{"assimp/BCN_Epileptic.X", 60, 240, {25, -35, true, true}},
                          Case{"assimp/test_cube_text.x", 200, 100, {25, 35, false, true}},
                          Case{"minetest_game/character.x", 90, 180, {10, 80, true, true}}}) {
        platform::HeadlessContext context(c.width, c.height);
        ASSERT_TRUE(context.Ok()) << context.Error();
        InitGL(static_cast<float>(c.width), static_cast<float>(c.height));
        MessageRecorder recorder;
        LoadedModel loaded;
        ASSERT_EQ(loaded.Load(testing_support::CorpusPath(c.model), PoseChoice{true}), S_OK) << c.model;
        const std::optional<FittedView> view =
            FitView(loaded, static_cast<float>(c.width), static_cast<float>(c.height), c.turn);
        ASSERT_TRUE(view);
        SetPerspective(static_cast<float>(c.width), static_cast<float>(c.height), view->frame, view->distance);
        AimCamera(view->distance);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ViewOptions options;
        options.asAuthored = c.turn.asAuthored;
        options.upZ = c.turn.upZ;
        DrawModelScene(&loaded, options, c.turn.angleX, c.turn.angleY, view->frame.centre);
        glFinish();
        const std::vector<std::uint8_t> pixels = context.ReadPixels();
        int left = c.width, right = -1, top = c.height, bottom = -1;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                if (pixels[4 * (static_cast<std::size_t>(y) * c.width + x) + 3] != 0)
                    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        const double smaller = std::min(c.width, c.height);
        const double fill = std::max(right - left + 1, bottom - top + 1) / smaller;
        EXPECT_GE(fill, 0.80) << c.model << " " << c.width << "x" << c.height;
        EXPECT_LE(fill, 0.90) << c.model << " " << c.width << "x" << c.height;
        // In the middle: as much room on either side.
        EXPECT_NEAR(left, c.width - 1 - right, 0.06 * smaller) << c.model;
        EXPECT_NEAR(top, c.height - 1 - bottom, 0.06 * smaller) << c.model;
    }
}

}  // namespace
