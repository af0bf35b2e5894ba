#include "app/Shell.h"

#include "app/AnimationMenu.h"
#include "app/Frame.h"
#include "app/MenuLayout.h"
#include "app/Navigation.h"
#include "app/SceneImage.h"
#include "app/ViewAidsMenu.h"
#include "app/Seeking.h"
#include "app/SeekingCommands.h"
#include "app/ScenePick.h"
#include "gltf/GltfExport.h"
#include "platform/AsciiCase.h"
#include "platform/Messages.h"
#include "render/AxisViews.h"
#include "report/Report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

// Marks the shell busy for one command; when the outermost command returns,
// a close that arrived meanwhile is requested again.
class Shell::BusyScope {
public:
    explicit BusyScope(Shell& shell) : shell_(shell)
    {
        if (shell_.busyDepth_++ == 0 && shell_.showRunning_) shell_.showRunning_(true);
    }
    ~BusyScope()
    {
        if (--shell_.busyDepth_ == 0 && shell_.showRunning_) shell_.showRunning_(false);
        if (shell_.busyDepth_ == 0 && shell_.closePending_ && !shell_.closed_) {
            shell_.closePending_ = false;
            if (shell_.requestClose_) shell_.requestClose_();
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Shell& shell_;
};

// Tells the window a long step (a load, an export) runs, for its time.
class Shell::LongStepScope {
public:
    explicit LongStepScope(Shell& shell) : shell_(shell)
    {
        if (shell_.showWorking_) shell_.showWorking_(true);
    }
    ~LongStepScope()
    {
        if (shell_.showWorking_) shell_.showWorking_(false);
    }
    LongStepScope(const LongStepScope&) = delete;
    LongStepScope& operator=(const LongStepScope&) = delete;

private:
    Shell& shell_;
};

platform::FileDialogRequest OpenModelDialogRequest()
{
    return {platform::FileDialogKind::Open,
            "Sélectionnez un fichier...",
            // Files named on other systems often end in ".X".
            {{"DirectX Files (*.x)", "*.x;*.X"}, {"All Files (*.*)", "*.*"}},
            true,
            {}};
}

platform::FileDialogRequest SaveReportDialogRequest()
{
    return {platform::FileDialogKind::Save,
            "Enregistrer un fichier...",
            {{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}},
            false,
            "txt"};
}

platform::FileDialogRequest SaveImageDialogRequest()
{
    return {platform::FileDialogKind::Save,
            "Enregistrer l'image...",
            {{"PNG Files (*.png)", "*.png;*.PNG"}, {"All Files (*.*)", "*.*"}},
            false,
            "png"};
}

platform::FileDialogRequest ExportGltfDialogRequest()
{
    // A bare name becomes a .glb; a name that ends in ".gltf" is written as
    // JSON with its .bin and images beside it.
    return {platform::FileDialogKind::Save,
            "Exporter en glTF...",
            {{"glTF Binary (*.glb)", "*.glb;*.GLB"}, {"glTF (*.gltf)", "*.gltf;*.GLTF"}, {"All Files (*.*)", "*.*"}},
            false,
            "glb"};
}

float WheelCameraDistance(float distance, double notches)
{
    // Steps of a tenth of the distance, so near and far models zoom alike;
    // a camera at the origin still gets a step of some size.
    const double size = std::max(std::fabs(static_cast<double>(distance)), 0.1);
    const double moved = size * std::pow(0.9, notches);
    return static_cast<float>(distance < 0 ? -moved : moved);
}

Shell::Shell(ShellState& state, ViewOptions& options, platform::Menu& menu, platform::FileDialogs& dialogs,
             std::function<void()> requestClose)
    : state_(state), options_(options), menu_(menu), dialogs_(dialogs), requestClose_(std::move(requestClose))
{
}

void Shell::LoadAtStart(const std::string& commandLineText)
{
    if (commandLineText.empty() || closed_) return;
    BusyScope busy(*this);
    OpenFile(commandLineText);
}

void Shell::OnCommand(int id)
{
    if (closed_) return;
    RunCommand(id);
    // However the command ended, the marks and the OpenGL state say what the value holds.
    FollowView();
}

void Shell::RunCommand(int id)
{
    switch (id) {
    case command::LoadMesh: LoadFromOpenDialog(); break;
    case command::SaveText: SaveTextFromDialog(); break;
    case command::SaveImage: SaveImageFromDialog(); break;
    case command::ExportGltf: ExportGltfFromDialog(); break;
    case command::Reload: Reload(); break;
    case command::Quit: Quit(); break;
    case command::Infos: RunOnModel([](LoadedModel& loaded) { report::ShowInfo(loaded.model); }); break;
    case command::FillPolygons:
    case command::WirePolygons:
    case command::VertexPolygons: ChoosePolygonMode(id); break;
    case command::Light: options_.lighting = Toggle(id); break;
    case command::DrawNormals: options_.drawNormals = Toggle(id); break;
    case command::ComputeNormals: RunOnModel([](LoadedModel& loaded) { loaded.ComputeNormals(); }); break;
    case command::BoundingBox: options_.drawBoundingBox = Toggle(id); break;
    case command::InverseCulling: FlipFrontFace(); break;
    case command::InverseNormals: RunOnModel([](LoadedModel& loaded) { loaded.InvertNormals(); }); break;
    case command::AsAuthored:
        if (!Busy()) ChooseAsAuthored(!menu_.CheckItem(id, false));
        break;
    case command::FitView: FitView(); break;
    case command::UpAxisZ: options_.upZ = Toggle(id); break;
    case command::VertexColors: options_.vertexColors = Toggle(id); break;
    case command::ScenePanel: options_.scenePanel = Toggle(id); break;
    case command::PlayPause: TogglePlayback(); break;
    case command::RewindAnimation: RewindAnimation(); break;
    case command::Skeleton: ShowSkeleton(Toggle(id)); break;
    case command::Grid: options_.grid = Toggle(id); break;
    case command::Axes: options_.axes = Toggle(id); break;
    case command::FirstView: GoToFirstView(); break;
    case command::FrontView: MoveCamera(AlongAxis(FrameOf(state_, options_).camera, AxisView::Front)); break;
    case command::TopView: MoveCamera(AlongAxis(FrameOf(state_, options_).camera, AxisView::Top)); break;
    case command::SideView: MoveCamera(AlongAxis(FrameOf(state_, options_).camera, AxisView::Side)); break;
    case command::Orthographic: options_.orthographic = Toggle(id); break;
    default:
        if (const auto background = BackgroundOfCommand(id)) options_.background = *background;
        if (const DrawPathEntry* path = DrawPathOfCommand(id)) ExclusiveToggle(*path);
        if (const auto set = SetOfCommand(id)) ChooseAnimationSet(*set);
        if (const auto speed = SpeedOfCommand(id)) ChooseSpeed(*speed);
        if (const SeekMove move = SeekMoveOfCommand(id)) MoveAnimationTime(move);
        break;
    }
}

void Shell::LoadFromOpenDialog()
{
    if (Busy()) return;
    BusyScope busy(*this);
    const std::optional<std::string> path = dialogs_.Ask(OpenModelDialogRequest());
    if (path) OpenFile(*path);
}

void Shell::OnDropFiles(const std::vector<std::string>& paths)
{
    if (Busy() || closed_) return;
    const auto model = std::find_if(paths.begin(), paths.end(), [](const std::string& path) {
        return path.size() > 2 && platform::EqualIgnoringAsciiCase(std::string_view(path).substr(path.size() - 2), ".x");
    });
    if (model == paths.end()) return;
    BusyScope busy(*this);
    OpenFile(*model);
}

bool Shell::OpenFile(const std::string& path)
{
    // The old model goes before the new file is tried, and with it what
    // belonged to it: its playback, a view fitted to it.
    ReleaseModel();
    state_.playback.Reset();
    menu_.CheckItem(command::PlayPause, false);
    state_.viewFrame = ViewFrame{};
    state_.firstView.reset();  // taken again from the first frame of the new model
    state_.cameraMovedByUser = false;
    state_.openedPath = path;
    state_.currentModel = std::make_unique<LoadedModel>();
    const bool loaded = LoadInto(*state_.currentModel, path);
    if (!loaded) state_.currentModel.reset();
    ModelReplaced();
    ReplaceAnimationMenu();
    // As authored, a model is shown framed, as its author saw it.
    if (loaded && options_.asAuthored) FrameModel();
    return loaded;
}

bool Shell::LoadInto(LoadedModel& model, const std::string& path)
{
    const LongStepScope loading(*this);
    // No set is chosen yet: a reload puts its set back once the file shows it has it.
    if (model.Load(path, PoseOf(options_)) == S_OK) return true;
    platform::ShowMessage("Chargement de la mesh échoué.", "Erreur", platform::MessageKind::Plain);
    return false;
}

void Shell::Reload()
{
    if (Busy() || state_.openedPath.empty()) return;
    BusyScope busy(*this);
    // Tried beside the model on screen, which stays, with its view and
    // playback, when the file no longer loads.
    auto reloaded = std::make_unique<LoadedModel>();
    if (!LoadInto(*reloaded, state_.openedPath)) return;
    ReleaseModel();
    state_.currentModel = std::move(reloaded);
    ModelReplaced();

    const AnimationPlayback playback = state_.playback;
    state_.playback.Reset();
    menu_.CheckItem(command::PlayPause, false);
    ReplaceAnimationMenu();
    // The set and its time, when the file still has that set.
    const std::size_t sets = state_.currentModel->model.animationSets.size();
    if (playback.set < 0 || static_cast<std::size_t>(playback.set) >= sets) return;
    MarkRadio(CommandOfSet(0), std::min(sets, kAnimationSetItems), CommandOfSet(playback.set));
    state_.playback = playback;
    if (playback.playing) state_.playback.Start();  // the clock is taken afresh
    menu_.CheckItem(command::PlayPause, playback.playing);
    ShowCurrentPose();
}

void Shell::ModelReplaced()
{
    options_.selectedMesh = -1;  // the indices were the old model's
    if (modelReplaced_) modelReplaced_();
}

void Shell::ShowMesh(std::size_t mesh, bool shown)
{
    if (Busy() || closed_ || !state_.currentModel || mesh >= state_.currentModel->model.meshes.size()) return;
    state_.currentModel->SetMeshShown(mesh, shown);
}

void Shell::SelectMesh(std::int32_t mesh)
{
    const bool inModel = state_.currentModel && mesh >= 0 && mesh < state_.currentModel->model.meshCount();
    options_.selectedMesh = inModel ? mesh : -1;
}

void Shell::ReplaceAnimationMenu()
{
    if (!replaceAnimationMenu_) return;
    replaceAnimationMenu_(AnimationMenu(state_.currentModel ? &state_.currentModel->model : nullptr,
                                        state_.playback.speed));
}

void Shell::SaveTextFromDialog()
{
    if (Busy() || !state_.currentModel) return;
    BusyScope busy(*this);
    const std::optional<std::string> path = dialogs_.Ask(SaveReportDialogRequest());
    if (!path) return;
    const std::string error = report::SaveText(state_.currentModel->model, *path);
    if (!error.empty())
        platform::ShowMessage("Le fichier " + *path + " n'a pas pu être écrit (" + error + "). Save txt", "Erreur",
                              platform::MessageKind::Warning);
}

void Shell::SaveImageFromDialog()
{
    if (Busy()) return;
    BusyScope busy(*this);
    const std::optional<std::string> path = dialogs_.Ask(SaveImageDialogRequest());
    if (!path) return;
    const std::string error = WriteSceneImage(state_, options_, *path);
    if (!error.empty())
        platform::ShowMessage("Le fichier " + *path + " n'a pas pu être écrit (" + error + "). Enregistrer l'image",
                              "Erreur", platform::MessageKind::Warning);
}

void Shell::ExportGltfFromDialog()
{
    if (Busy() || !state_.currentModel) return;
    BusyScope busy(*this);
    const std::optional<std::string> path = dialogs_.Ask(ExportGltfDialogRequest());
    if (!path) return;
    gltf_export::ExportOptions exportOptions;
    exportOptions.upZ = options_.upZ;
    exportOptions.vertexColors = options_.vertexColors;
    const Model& model = state_.currentModel->model;
    gltf_export::ExportResult result;
    {
        const LongStepScope working(*this);
        // A texture that many materials name and cannot be read is told once.
        const platform::ScopedDistinctMessages distinct;
        result = gltf_export::ExportModel(model, *path, exportOptions);
    }
    for (const std::string& notice : result.notices)
        std::fprintf(stderr, "pelmora: %s: %s\n", model.sourcePath.c_str(), notice.c_str());
    if (!result.Ok())
        platform::ShowMessage("Le fichier " + *path + " n'a pas pu être écrit (" + result.error + "). Exporter en glTF",
                              "Erreur", platform::MessageKind::Warning);
}

void Shell::Quit()
{
    if (Busy()) {
        closePending_ = true;
        return;
    }
    if (requestClose_) requestClose_();
}

void Shell::RunOnModel(const std::function<void(LoadedModel&)>& operation)
{
    if (Busy() || !state_.currentModel) return;
    BusyScope busy(*this);
    operation(*state_.currentModel);
}

void Shell::ReleaseModel()
{
    if (!state_.currentModel) return;
    state_.currentModel->Clear();
    state_.currentModel.reset();
}

bool Shell::AllowClose()
{
    if (Busy()) {
        closePending_ = true;
        return false;
    }
    return true;
}

void Shell::Close()
{
    ReleaseModel();
    closed_ = true;
}

void Shell::ChoosePolygonMode(int id)
{
    // The marks follow (FollowView): the chosen item alone is marked, even when chosen again.
    options_.fill = id == command::WirePolygons ? PolygonFill::Wire
                  : id == command::VertexPolygons ? PolygonFill::Points
                                                  : PolygonFill::Fill;
}

bool Shell::Toggle(int id)
{
    if (menu_.CheckItem(id, false)) return false;
    menu_.CheckItem(id, true);
    return true;
}

void Shell::ExclusiveToggle(const DrawPathEntry& chosen)
{
    const bool on = Toggle(chosen.menuCommand);
    options_.*chosen.flag = on;
    if (!on) return;
    for (const DrawPath path : chosen.clearOrder) {
        const DrawPathEntry& other = DrawPathOf(path);
        menu_.CheckItem(other.menuCommand, false);
        options_.*other.flag = false;
    }
}

std::vector<std::pair<int, bool>> MarksOf(const ViewOptions& options, const AnimationPlayback& playback)
{
    std::vector<std::pair<int, bool>> marks{
        {command::FillPolygons, options.fill == PolygonFill::Fill},
        {command::WirePolygons, options.fill == PolygonFill::Wire},
        {command::VertexPolygons, options.fill == PolygonFill::Points},
        {command::Light, options.lighting},
        {command::DrawNormals, options.drawNormals},
        {command::BoundingBox, options.drawBoundingBox},
        {command::AsAuthored, options.asAuthored},
        {command::UpAxisZ, options.upZ},
        {command::VertexColors, options.vertexColors},
        {command::ScenePanel, options.scenePanel},
        {command::Orthographic, options.orthographic},
        {command::PlayPause, playback.playing},
    };
    for (const DrawPathEntry& path : kDrawPaths)
        if (path.flag != nullptr) marks.emplace_back(path.menuCommand, options.*path.flag);
    for (const auto& mark : ViewAidMarks(options)) marks.push_back(mark);
    return marks;
}

void Shell::FollowView()
{
    // Only marks that disagree are set: a menu already in step hears nothing.
    for (const auto& [id, on] : MarksOf(options_, state_.playback))
        if (menu_.IsChecked(id) != on) menu_.CheckItem(id, on);
    ApplyViewState(options_);
}

void Shell::MarkRadio(int first, std::size_t count, int chosen)
{
    // The toolkit clears the others of a run itself; the marks are set for each
    // all the same, so that any menu shows one mark.
    for (std::size_t k = 0; k < count; ++k) {
        const int id = first + static_cast<int>(k);
        menu_.CheckItem(id, id == chosen);
    }
}

void Shell::FlipFrontFace() { options_.frontFaceCCW = !options_.frontFaceCCW; }

void Shell::OnLeftButtonDown(int x, int y)
{
    state_.lastMouseX = x;
    state_.lastMouseY = y;
    OnMiddleButtonDown(x, y);  // Shift+left-drag pans from here too
}

void Shell::OnRightButtonDown(int y)
{
    state_.cameraDistance = static_cast<float>(y);
    state_.cameraMovedByUser = true;
}

void Shell::OnMiddleButtonDown(int x, int y)
{
    state_.panAnchorX = x;
    state_.panAnchorY = y;
}

void Shell::OnWheel(double notches)
{
    if (notches == 0 || !std::isfinite(notches)) return;
    state_.cameraDistance = WheelCameraDistance(state_.cameraDistance, notches);
    state_.drawnCameraDistance = state_.cameraDistance;
    state_.cameraMovedByUser = true;
}

void Shell::OnMouseMove(int x, int y, const MouseKeys& keys)
{
    if (keys == MouseKeys{.left = true}) {
        state_.angleY += static_cast<float>(x - state_.lastMouseX);
        state_.angleX += static_cast<float>(y - state_.lastMouseY);
        state_.lastMouseX = x;
        state_.lastMouseY = y;
        state_.cameraMovedByUser = true;
    } else if (keys == MouseKeys{.right = true}) {
        // The frame that follows is drawn at nine tenths of the old distance,
        // the frames after it at the cursor's height.
        state_.drawnCameraDistance = state_.cameraDistance - state_.cameraDistance * 0.1f;
        state_.cameraDistance = static_cast<float>(y);
        state_.cameraMovedByUser = true;
    } else if (keys == MouseKeys{.middle = true} || keys == MouseKeys{.left = true, .shift = true}) {
        const SceneTurn turn{state_.angleX, state_.angleY, options_.upZ, options_.asAuthored};
        state_.viewFrame = PannedFrame(state_.viewFrame, turn, state_.drawnCameraDistance, state_.windowHeight,
                                       x - state_.panAnchorX, y - state_.panAnchorY);
        state_.panAnchorX = x;
        state_.panAnchorY = y;
        state_.cameraMovedByUser = true;
    }
}

void Shell::OnDoubleClick(int x, int y)
{
    if (!CanDrawFrame()) return;
    const std::optional<Vector3> point = PickScenePoint(state_, options_, x, y);
    if (!point) return;
    state_.viewFrame = RecentredFrame(state_.viewFrame, *point);
    state_.cameraMovedByUser = true;
}

void Shell::SetAsAuthored(bool on)
{
    if (closed_) return;
    ChooseAsAuthored(on);
    FollowView();
}

void Shell::ChooseAsAuthored(bool on)
{
    BusyScope busy(*this);
    options_.asAuthored = on;
    // As read, an animation does not show: it does not go on meanwhile either.
    if (!on) state_.playback.Stop();
    ShowCurrentPose();
}

void Shell::ShowSkeleton(bool on)
{
    options_.skeleton = on;
    // A mesh's bones are posed only as authored (frames alone are posed either way), as Space turns it on to play.
    if (on && !Busy() && !options_.asAuthored && state_.currentModel && !state_.currentModel->model.meshes.empty())
        ChooseAsAuthored(true);
}

void Shell::ShowCurrentPose()
{
    if (state_.currentModel)
        state_.currentModel->ShowPose(PoseOf(options_, state_.playback.set, state_.playback.seconds),
                                      SelectedPath(options_));
}

// Centres the view on the model as drawn and backs the camera off until the
// whole model fits; turning is then about that centre. Nothing happens
// without a model that has vertices.
void Shell::FitView()
{
    if (Busy()) return;
    FrameModel();
}

void Shell::FrameModel()
{
    if (!state_.currentModel) return;
    const std::optional<Camera> fitted = FittedCamera(FrameOf(state_, options_));
    if (!fitted) return;
    state_.viewFrame = fitted->frame;
    state_.cameraDistance = fitted->distance;
    state_.drawnCameraDistance = fitted->distance;
    state_.cameraMovedByUser = false;
}

void Shell::MoveCamera(const Camera& camera)
{
    state_.angleX = camera.angleX;
    state_.angleY = camera.angleY;
    state_.viewFrame = camera.frame;
    // Drawn from this distance at once, and from it on.
    state_.cameraDistance = state_.drawnCameraDistance = camera.distance;
    state_.cameraMovedByUser = true;
}

void Shell::GoToFirstView()
{
    // Before any frame the view is still the first one.
    if (!state_.firstView) return;
    MoveCamera(*state_.firstView);
    state_.cameraMovedByUser = false;
}

bool Shell::HasAnimationSets() const
{
    return state_.currentModel && !state_.currentModel->model.animationSets.empty();
}

void Shell::TogglePlayback()
{
    AnimationPlayback& playback = state_.playback;
    if (Busy() || !HasAnimationSets()) {
        menu_.CheckItem(command::PlayPause, playback.playing);
        return;
    }
    // The mark follows the playback, which can also stop on its own.
    const bool play = !playback.playing;
    menu_.CheckItem(command::PlayPause, play);
    if (!play) {
        playback.Stop();
        return;
    }
    if (playback.set < 0) ChooseAnimationSet(0);
    const AnimationTiming timing = TimingOf(state_.currentModel->model, static_cast<std::size_t>(playback.set));
    if (!timing.loops && playback.seconds >= timing.LengthSeconds()) playback.Rewind();  // played to its end: again
    if (!options_.asAuthored) ChooseAsAuthored(true);
    // The pose it starts in framed, unless the user has placed the camera.
    if (!state_.cameraMovedByUser) FrameModel();
    playback.Start();
}

void Shell::ChooseAnimationSet(std::int32_t set)
{
    if (Busy() || !HasAnimationSets() || static_cast<std::size_t>(set) >= state_.currentModel->model.animationSets.size())
        return;
    MarkRadio(CommandOfSet(0), std::min(state_.currentModel->model.animationSets.size(), kAnimationSetItems),
              CommandOfSet(set));
    state_.playback.set = set;
    state_.playback.Rewind();
    PoseAsAuthored();
}

void Shell::ChooseSpeed(double speed)
{
    MarkRadio(command::FirstSpeed, kPlaybackSpeeds.size(), CommandOfSpeed(speed));
    state_.playback.speed = speed;
}

void Shell::RewindAnimation()
{
    if (Busy() || state_.playback.set < 0) return;
    state_.playback.Rewind();
    ShowCurrentPose();
}

void Shell::SeekAnimationTo(double seconds)
{
    if (closed_) return;
    MoveAnimationTime([seconds](AnimationPlayback& playback, const Model& model) { SeekAnimation(playback, model, seconds); });
    FollowView();
}

void Shell::MoveAnimationTime(const std::function<void(AnimationPlayback&, const Model&)>& move)
{
    if (Busy() || !HasAnimationSets() || state_.playback.set < 0) return;
    move(state_.playback, state_.currentModel->model);
    PoseAsAuthored();  // a set posed by hand is seen as authored, as one played is
}

void Shell::PoseAsAuthored()
{
    if (!options_.asAuthored)
        ChooseAsAuthored(true);
    else
        ShowCurrentPose();
}

void Shell::FollowPlayback() { FollowView(); }
