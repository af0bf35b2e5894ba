// Menu commands against a fake menu and fake dialogs, with a real OpenGL
// context for the state the commands set.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/MenuLayout.h"
#include "app/Shell.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

using testing_support::MessageRecorder;

GLint FrontPolygonMode()
{
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], modes[1]) << "front and back modes differ";
    return modes[0];
}

GLint FrontFace()
{
    GLint face = 0;
    glGetIntegerv(GL_FRONT_FACE, &face);
    return face;
}

class CommandsTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
    }

    // A model that owns a display list, so that its release can be seen.
    LoadedModel* InstallModelWithList()
    {
        state.currentModel = std::make_unique<LoadedModel>();
        const GLuint list = glGenLists(1);
        state.currentModel->render.displayList = platform::GlName(platform::GlObjectKind::DisplayList, list);
        glNewList(list, GL_COMPILE);
        glEndList();
        return state.currentModel.get();
    }

    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    int closeRequests = 0;
    Shell shell{state, options, menu, dialogs, [this] { ++closeRequests; }};
};

TEST_F(CommandsTest, StartMarksAgreeWithSwitchesAndOpenGlState)
{
    const ViewOptions defaults;
    EXPECT_EQ(menu.IsChecked(command::DisplayList), defaults.useDisplayList);
    EXPECT_EQ(menu.IsChecked(command::IndexedArrays), defaults.useIndexedArrays);
    EXPECT_EQ(menu.IsChecked(command::BufferObjects), defaults.useBufferObjects);
    EXPECT_EQ(menu.IsChecked(command::DrawNormals), defaults.drawNormals);
    EXPECT_EQ(menu.IsChecked(command::BoundingBox), defaults.drawBoundingBox);
    EXPECT_TRUE(menu.IsChecked(command::FillPolygons));
    EXPECT_FALSE(menu.IsChecked(command::WirePolygons));
    EXPECT_FALSE(menu.IsChecked(command::VertexPolygons));
    EXPECT_EQ(FrontPolygonMode(), GL_FILL);
    EXPECT_TRUE(menu.IsChecked(command::Light));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(FrontFace(), GL_CCW);
}

TEST_F(CommandsTest, PolygonModeMarksTheChosenItemEvenWhenChosenTwice)
{
    const std::array<std::pair<int, GLint>, 4> choices = {{
        {command::WirePolygons, GL_LINE},
        {command::VertexPolygons, GL_POINT},
        {command::FillPolygons, GL_FILL},
        {command::WirePolygons, GL_LINE},
    }};
    for (const auto& [id, mode] : choices) {
        for (int time = 0; time < 2; ++time) {
            shell.OnCommand(id);
            EXPECT_EQ(FrontPolygonMode(), mode) << "item " << id;
            EXPECT_EQ(menu.IsChecked(command::FillPolygons), id == command::FillPolygons);
            EXPECT_EQ(menu.IsChecked(command::WirePolygons), id == command::WirePolygons);
            EXPECT_EQ(menu.IsChecked(command::VertexPolygons), id == command::VertexPolygons);
        }
    }
}

TEST_F(CommandsTest, TogglesFollowTheMarks)
{
    shell.OnCommand(command::Light);
    EXPECT_FALSE(menu.IsChecked(command::Light));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    shell.OnCommand(command::Light);
    EXPECT_TRUE(menu.IsChecked(command::Light));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    shell.OnCommand(command::DrawNormals);
    EXPECT_TRUE(options.drawNormals);
    EXPECT_TRUE(menu.IsChecked(command::DrawNormals));
    shell.OnCommand(command::DrawNormals);
    EXPECT_FALSE(options.drawNormals);
    EXPECT_FALSE(menu.IsChecked(command::DrawNormals));

    shell.OnCommand(command::BoundingBox);
    EXPECT_TRUE(options.drawBoundingBox);
    EXPECT_TRUE(menu.IsChecked(command::BoundingBox));

    // The mark, not the switch, tells the previous state.
    menu.marks[command::BoundingBox] = false;
    shell.OnCommand(command::BoundingBox);
    EXPECT_TRUE(options.drawBoundingBox);
    EXPECT_TRUE(menu.IsChecked(command::BoundingBox));

    menu.marks[command::Light] = false;
    shell.OnCommand(command::Light);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(menu.IsChecked(command::Light));
}

TEST_F(CommandsTest, DrawPathsStayExclusiveInEveryOrder)
{
    std::array<int, 3> order = {command::BufferObjects, command::DisplayList, command::IndexedArrays};
    std::sort(order.begin(), order.end());
    const auto switchOf = [this](int id) -> bool& {
        if (id == command::DisplayList) return options.useDisplayList;
        if (id == command::IndexedArrays) return options.useIndexedArrays;
        return options.useBufferObjects;
    };
    do {
        options = ViewOptions{};
        menu = FakeMenu{};
        for (const int id : order) {
            const bool wasOn = switchOf(id);
            shell.OnCommand(id);
            int on = 0;
            for (const int path : order) {
                EXPECT_EQ(menu.IsChecked(path), switchOf(path)) << "item " << path;
                on += switchOf(path) ? 1 : 0;
            }
            EXPECT_LE(on, 1);
            EXPECT_EQ(switchOf(id), !wasOn) << "item " << id;
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(CommandsTest, DrawPathExamplesFromTheMenu)
{
    // "Indexed Primitive ARB" while marked: no path left, immediate mode.
    shell.OnCommand(command::BufferObjects);
    EXPECT_FALSE(options.useBufferObjects || options.useDisplayList || options.useIndexedArrays);
    EXPECT_FALSE(menu.IsChecked(command::BufferObjects));

    shell.OnCommand(command::DisplayList);
    shell.OnCommand(command::IndexedArrays);
    EXPECT_TRUE(options.useIndexedArrays);
    EXPECT_FALSE(options.useDisplayList);
    EXPECT_FALSE(options.useBufferObjects);
    EXPECT_TRUE(menu.IsChecked(command::IndexedArrays));
    EXPECT_FALSE(menu.IsChecked(command::DisplayList));
    EXPECT_FALSE(menu.IsChecked(command::BufferObjects));
}

TEST_F(CommandsTest, InverseCullingFlipsTheFrontFaceWithoutAMark)
{
    shell.OnCommand(command::InverseCulling);
    EXPECT_EQ(FrontFace(), GL_CW);
    EXPECT_FALSE(options.frontFaceCCW);
    shell.OnCommand(command::InverseCulling);
    EXPECT_EQ(FrontFace(), GL_CCW);
    EXPECT_TRUE(options.frontFaceCCW);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(std::count(menu.calls.begin(), menu.calls.end(), command::InverseCulling), 0);
}

// The switch "as authored" carries a mark, flips the front face with the
// mirror it brings, and still lets "Inverse Culling" flip whatever is current.
TEST_F(CommandsTest, AsAuthoredFlipsTheFrontFaceAndPosesTheModel)
{
    EXPECT_FALSE(menu.IsChecked(command::AsAuthored));
    EXPECT_FALSE(options.asAuthored);
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    const Vector3 first = state.currentModel->model.meshes[0].vertices[0];

    shell.OnCommand(command::AsAuthored);
    EXPECT_TRUE(menu.IsChecked(command::AsAuthored));
    EXPECT_TRUE(options.asAuthored && state.currentModel->render.pose().asAuthored);
    EXPECT_EQ(FrontFace(), GL_CW);
    // The sample's one frame has no matrix: only the mirror moves its vertices.
    const auto& posed = state.currentModel->render.meshes[0].posedVertices;
    ASSERT_TRUE(posed);
    EXPECT_EQ((*posed)[0].z, -first.z);
    EXPECT_EQ((*posed)[0].x, first.x);
    shell.OnCommand(command::InverseCulling);
    EXPECT_EQ(FrontFace(), GL_CCW);
    shell.OnCommand(command::AsAuthored);
    EXPECT_EQ(FrontFace(), GL_CW);
    shell.OnCommand(command::InverseCulling);
    EXPECT_EQ(FrontFace(), GL_CCW);
    EXPECT_FALSE(state.currentModel->render.pose().asAuthored);
    EXPECT_FALSE(state.currentModel->render.meshes[0].posedVertices);
}

TEST_F(CommandsTest, FitViewCentresTheModelOnlyWhenAsked)
{
    shell.OnCommand(command::FitView);  // no model: nothing
    EXPECT_EQ(state.cameraDistance, kStartCameraDistance);
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    EXPECT_EQ(state.cameraDistance, kStartCameraDistance);  // never on its own
    EXPECT_EQ(state.viewFrame.radius, 0.0f);
    shell.OnCommand(command::FitView);
    EXPECT_NEAR(state.viewFrame.radius, std::sqrt(3.0f), 1e-5);  // the sample is a cube of side 2
    EXPECT_GT(state.cameraDistance, 3.0f);
    EXPECT_LT(state.cameraDistance, 10.0f);
}

TEST_F(CommandsTest, UnknownIdsAndModelCommandsWithoutModelDoNothing)
{
    MessageRecorder recorder;
    const ViewOptions before = options;
    for (const int id : {0, 1, 102, 40004, 40016, -1, command::SaveText, command::Infos, command::ComputeNormals,
                         command::InverseNormals})
        shell.OnCommand(id);
    EXPECT_TRUE(menu.calls.empty());
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_FALSE(state.currentModel);
    EXPECT_EQ(options.useBufferObjects, before.useBufferObjects);
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(CommandsTest, QuitAsksTheWindowToClose)
{
    shell.OnCommand(command::Quit);
    EXPECT_EQ(closeRequests, 1);
    ASSERT_TRUE(shell.AllowClose());
    InstallModelWithList();
    const GLuint list = state.currentModel->render.displayList.get();
    shell.Close();
    EXPECT_FALSE(state.currentModel);
    EXPECT_FALSE(glIsList(list));
    EXPECT_FALSE(shell.CanDrawFrame());

    // Nothing runs once closed.
    shell.OnCommand(command::LoadMesh);
    shell.OnCommand(command::WirePolygons);
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(FrontPolygonMode(), GL_FILL);
}

TEST_F(CommandsTest, DialogRequestsCarryTheirTitlesAndFilters)
{
    const platform::FileDialogRequest open = OpenModelDialogRequest();
    EXPECT_EQ(open.kind, platform::FileDialogKind::Open);
    EXPECT_EQ(open.title, "Sélectionnez un fichier...");
    ASSERT_EQ(open.filters.size(), 2u);
    EXPECT_EQ(open.filters[0].description, "DirectX Files (*.x)");
    EXPECT_EQ(open.filters[0].pattern, "*.x;*.X");  // ".x" in either case
    EXPECT_EQ(open.filters[1].description, "All Files (*.*)");
    EXPECT_EQ(open.filters[1].pattern, "*.*");
    EXPECT_TRUE(open.fileMustExist);

    const platform::FileDialogRequest save = SaveReportDialogRequest();
    EXPECT_EQ(save.kind, platform::FileDialogKind::Save);
    EXPECT_EQ(save.title, "Enregistrer un fichier...");
    ASSERT_EQ(save.filters.size(), 2u);
    EXPECT_EQ(save.filters[0].description, "Text Files (*.txt)");
    EXPECT_EQ(save.filters[0].pattern, "*.txt");
    EXPECT_EQ(save.filters[1].pattern, "*.*");
    EXPECT_FALSE(save.fileMustExist);
}

TEST_F(CommandsTest, CancelledOpenDialogKeepsTheModel)
{
    LoadedModel* model = InstallModelWithList();
    shell.OnCommand(command::LoadMesh);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, platform::FileDialogKind::Open);
    EXPECT_EQ(state.currentModel.get(), model);
    EXPECT_TRUE(glIsList(model->render.displayList.get()));
}

TEST_F(CommandsTest, LoadMeshReplacesTheModelAndKeepsEveryView)
{
    MessageRecorder recorder;
    shell.OnCommand(command::WirePolygons);
    shell.OnCommand(command::DisplayList);
    state.angleY = 30;
    const GLuint oldList = InstallModelWithList()->render.displayList.get();

    dialogs.answers.push_back(testing_support::SamplePath("cube.x"));
    shell.OnCommand(command::LoadMesh);
    ASSERT_TRUE(state.currentModel);
    EXPECT_FALSE(glIsList(oldList));
    EXPECT_GT(state.currentModel->model.meshCount(), 0);
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(FrontPolygonMode(), GL_LINE);
    EXPECT_TRUE(options.useDisplayList);
    EXPECT_EQ(state.angleY, 30);
}

// A file dropped on the window opens as the open dialog opens it; every
// load shows the busy cursor while it runs.
TEST_F(CommandsTest, ADroppedModelOpensAsFromTheDialog)
{
    std::vector<bool> loading;
    shell.SetLongStepIndicator([&](bool on) { loading.push_back(on); });
    testing_support::TempDir folder;
    const std::string bad = folder.Write("bad.X", "this is not a model\n");
    const std::string image = folder.Write("picture.png", "not even a picture");

    const GLuint oldList = InstallModelWithList()->render.displayList.get();
    shell.OnDropFiles({image});  // no model among them: nothing happens
    EXPECT_TRUE(state.currentModel && glIsList(oldList));
    EXPECT_TRUE(loading.empty());

    shell.OnDropFiles({image, testing_support::SamplePath("cube.x")});
    ASSERT_TRUE(state.currentModel);
    EXPECT_FALSE(glIsList(oldList));  // released first
    EXPECT_GT(state.currentModel->model.meshCount(), 0);
    EXPECT_EQ(loading, (std::vector<bool>{true, false}));

    MessageRecorder recorder;
    shell.OnDropFiles({bad});
    EXPECT_FALSE(state.currentModel);
    ASSERT_EQ(recorder.messages().size(), 2u);  // the loader's, then the shell's
    EXPECT_EQ(recorder.messages()[1].text, "Chargement de la mesh échoué.");
    EXPECT_EQ(recorder.messages()[1].caption, "Erreur");

    dialogs.answers.push_back(testing_support::SamplePath("cube.x"));
    shell.OnCommand(command::LoadMesh);
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    EXPECT_EQ(loading.size(), 8u);  // four loads, each shown and hidden
    EXPECT_FALSE(loading.back());
}

TEST_F(CommandsTest, FailedLoadReleasesTheOldModelFirstAndLeavesNone)
{
    testing_support::TempDir folder;
    const std::string bad = folder.Write("bad.x", "this is not a model\n");
    const GLuint oldList = InstallModelWithList()->render.displayList.get();

    // Seen from inside the load: the loader's own message comes first.
    struct Witness : platform::MessageSink {
        ShellState* state;
        GLuint oldList;
        std::vector<platform::RecordedMessage> messages;
        bool oldReleasedWhileLoading = false;
        bool newModelCurrentWhileLoading = false;
        void Show(std::string_view text, std::string_view caption, platform::MessageKind kind) override
        {
            if (messages.empty()) {
                oldReleasedWhileLoading = !glIsList(oldList);
                newModelCurrentWhileLoading = state->currentModel != nullptr;
            }
            messages.push_back({std::string(text), std::string(caption), kind});
        }
    } witness;
    witness.state = &state;
    witness.oldList = oldList;
    platform::ScopedMessageSink scope(witness);
    platform::NullTraceSink quiet;
    platform::ScopedTraceSink traceScope(quiet);

    dialogs.answers.push_back(bad);
    shell.OnCommand(command::LoadMesh);

    ASSERT_EQ(witness.messages.size(), 2u);
    EXPECT_TRUE(witness.oldReleasedWhileLoading);
    EXPECT_TRUE(witness.newModelCurrentWhileLoading);
    EXPECT_EQ(witness.messages.back().text, "Chargement de la mesh échoué.");
    EXPECT_EQ(witness.messages.back().caption, "Erreur");
    EXPECT_EQ(witness.messages.back().kind, platform::MessageKind::Plain);
    EXPECT_FALSE(state.currentModel);
}

TEST_F(CommandsTest, MissingFileGivesTheFailureMessageAndNoModel)
{
    MessageRecorder recorder;
    InstallModelWithList();
    dialogs.answers.push_back("/nonexistent/folder/model.x");
    shell.OnCommand(command::LoadMesh);
    ASSERT_FALSE(recorder.messages().empty());
    EXPECT_EQ(recorder.messages().back().text, "Chargement de la mesh échoué.");
    EXPECT_FALSE(state.currentModel);
}

TEST_F(CommandsTest, SaveTextWritesThePathAsTyped)
{
    MessageRecorder recorder;
    testing_support::TempDir folder;
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);

    const std::string typed = (folder.path() / "report").string();  // no extension
    folder.Write("report", "old contents that must go");
    dialogs.answers.push_back(typed);
    shell.OnCommand(command::SaveText);

    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, platform::FileDialogKind::Save);
    const std::string report = testing_support::ReadFileBytes(typed);
    EXPECT_EQ(report.rfind("\nMeshInfos 1\n", 0), 0u) << report.substr(0, 80);
    EXPECT_FALSE(std::filesystem::exists(typed + ".txt"));

    dialogs.answers.push_back(std::nullopt);
    shell.OnCommand(command::SaveText);
    EXPECT_EQ(testing_support::ReadFileBytes(typed), report);

    // A folder that is not there: the box says why.
    const std::string nowhere = (folder.path() / "none" / "report").string();
    const std::size_t before = recorder.messages().size();
    dialogs.answers.push_back(nowhere);
    shell.OnCommand(command::SaveText);
    ASSERT_EQ(recorder.messages().size(), before + 1);
    EXPECT_EQ(recorder.messages().back().text, "Le fichier " + nowhere + " n'a pas pu être écrit (" +
                                               std::strerror(ENOENT) + "). Save txt");
}

TEST_F(CommandsTest, ModelCommandsReachTheModel)
{
    MessageRecorder recorder;
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    ASSERT_FALSE(state.currentModel->model.meshes.empty());

    shell.OnCommand(command::Infos);
    ASSERT_EQ(recorder.messages().size(), state.currentModel->model.meshes.size());
    EXPECT_EQ(recorder.messages()[0].caption, "Infos Mesh");

    const MeshRecord& mesh = state.currentModel->model.meshes[0];
    ASSERT_TRUE(mesh.normals && !mesh.normals->empty());
    const Vector3 before = (*mesh.normals)[0];
    shell.OnCommand(command::InverseNormals);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].x, -before.x);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].y, -before.y);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].z, -before.z);
    shell.OnCommand(command::ComputeNormals);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].x, before.x);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].y, before.y);
    EXPECT_FLOAT_EQ((*mesh.normals)[0].z, before.z);
}

TEST_F(CommandsTest, StartUpLoad)
{
    MessageRecorder recorder;
    shell.LoadAtStart("");
    EXPECT_FALSE(state.currentModel);

    // A failed load is told as a failed "Load Mesh" is, and leaves no model.
    shell.LoadAtStart("\"" + testing_support::SamplePath("cube.x") + "\"");
    EXPECT_FALSE(state.currentModel);
    ASSERT_FALSE(recorder.messages().empty());
    EXPECT_EQ(recorder.messages().back().text, "Chargement de la mesh échoué.");
    EXPECT_EQ(recorder.messages().back().caption, "Erreur");

    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    ASSERT_TRUE(state.currentModel);
    EXPECT_GT(state.currentModel->model.meshCount(), 0);
}

TEST_F(CommandsTest, StartUpLoadThatFailsHalfWayLeavesNothingBuilt)
{
    testing_support::TempDir folder;
    MessageRecorder recorder;
    // Braces that do not balance: the file is refused after its lines were read.
    const std::string broken = folder.Write("broken.x", "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n");
    shell.LoadAtStart(broken);
    EXPECT_FALSE(state.currentModel);
    EXPECT_EQ(recorder.messages().back().text, "Chargement de la mesh échoué.");
}

// Message boxes and dialogs run event loops of their own, so commands and
// the close box can arrive while another command runs.
TEST_F(CommandsTest, CommandsArrivingDuringAnotherAreHeldBack)
{
    LoadedModel* model = InstallModelWithList();
    bool drawableInside = true, closeAllowedInside = true;
    dialogs.whileOpen = [&] {
        dialogs.whileOpen = nullptr;
        drawableInside = shell.CanDrawFrame();
        shell.OnCommand(command::LoadMesh);        // ignored
        shell.OnCommand(command::ComputeNormals);  // ignored
        shell.OnCommand(command::Quit);            // waits
        closeAllowedInside = shell.AllowClose();   // the close box waits too
        shell.OnCommand(command::WirePolygons);    // a view change still applies
    };
    shell.OnCommand(command::LoadMesh);  // cancelled dialog

    EXPECT_FALSE(drawableInside);
    EXPECT_FALSE(closeAllowedInside);
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(state.currentModel.get(), model);
    EXPECT_EQ(FrontPolygonMode(), GL_LINE);
    EXPECT_EQ(closeRequests, 1) << "the held-back close is asked for once, after the command";
    EXPECT_TRUE(shell.CanDrawFrame());
    EXPECT_TRUE(shell.AllowClose());
}

TEST_F(CommandsTest, CloseDuringALoadWaitsForTheLoad)
{
    testing_support::TempDir folder;
    const std::string bad = folder.Write("bad.x", "not a model\n");
    struct Interrupter : platform::MessageSink {
        Shell* shell;
        int shown = 0;
        void Show(std::string_view, std::string_view, platform::MessageKind) override
        {
            ++shown;
            shell->OnCommand(command::Quit);
            shell->OnCommand(command::LoadMesh);
            shell->OnCommand(command::Infos);
        }
    } interrupter;
    interrupter.shell = &shell;
    platform::ScopedMessageSink scope(interrupter);
    platform::NullTraceSink quiet;
    platform::ScopedTraceSink traceScope(quiet);

    dialogs.answers.push_back(bad);
    shell.OnCommand(command::LoadMesh);
    EXPECT_EQ(interrupter.shown, 2);  // the loader's message and the failure message
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_FALSE(state.currentModel);

    // The start-up load holds a close back the same way.
    interrupter.shown = 0;
    shell.LoadAtStart(bad);
    EXPECT_EQ(interrupter.shown, 2);
    EXPECT_EQ(closeRequests, 2);
}

}  // namespace
