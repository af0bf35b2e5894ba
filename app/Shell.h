// What the user does to the running viewer: menu commands, the mouse, the
// model named at start-up, and the close request. Talks to the window only
// through the menu's check marks, the file dialogs and a close callback.
#pragma once

#include "app/MenuLayout.h"
#include "app/ShellState.h"
#include "platform/FileDialogs.h"
#include "platform/Menu.h"
#include "render/Scene.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The buttons and modifier keys held during a mouse event.
struct MouseKeys {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool extra1 = false;
    bool extra2 = false;
    bool shift = false;
    bool control = false;
    bool operator==(const MouseKeys&) const = default;
};

class Shell {
public:
    // `requestClose` asks the window to close; the window then calls
    // AllowClose and, when allowed, Close.
    Shell(ShellState& state, ViewOptions& options, platform::Menu& menu, platform::FileDialogs& dialogs,
          std::function<void()> requestClose);
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Loads the file named on the command line, when there is one. A file
    // that fails to load is told as a failed "Load Mesh" and leaves no model.
    void LoadAtStart(const std::string& commandLineText);

    // One menu command; unknown ids do nothing.
    void OnCommand(int id);

    // Files dropped on the window: the first ".x" file among them opens as
    // if chosen in the open dialog; other files are passed over.
    void OnDropFiles(const std::vector<std::string>& paths);

    // Told true when a long step (a load, an export) begins and false when it
    // ends, so that the window shows the busy cursor meanwhile.
    void SetLongStepIndicator(std::function<void(bool)> showWorking) { showWorking_ = std::move(showWorking); }
    // Told the "Animation" menu anew each time a model is opened (or fails to open).
    void SetAnimationMenuReplacer(std::function<void(const MenuNode&)> replace) { replaceAnimationMenu_ = std::move(replace); }

    // Told after a model was opened, reloaded or failed to open, once the
    // current model is the new one (or none).
    void SetModelReplacedListener(std::function<void()> replaced) { modelReplaced_ = std::move(replaced); }
    // The "Scène" panel's requests: mesh `mesh` of the current model hidden
    // or shown in every draw path (with the model's context current), and
    // the mesh whose box is drawn (-1, or a mesh out of range: none).
    void ShowMesh(std::size_t mesh, bool shown);
    void SelectMesh(std::int32_t mesh);

    // After a frame: a set that stopped on its own (an open one at its end)
    // clears the mark of "Lecture / Pause" (FollowView).
    void FollowPlayback();

    // The scene as authored or as read (the "Scène telle que créée" switch),
    // for the command line as for the menu.
    void SetAsAuthored(bool on);

    // Told when a command begins (true) and when the outermost one ends
    // (false): while it runs the window shows its last frame again when asked.
    void SetCommandIndicator(std::function<void(bool)> running) { showRunning_ = std::move(running); }

    // The chosen animation set sent to `seconds` (the timeline's slider):
    // playback paused, the model posed there. Nothing without a chosen set.
    void SeekAnimationTo(double seconds);

    void OnLeftButtonDown(int x, int y);
    // Wheel notches, positive away from the user: each brings the camera a
    // tenth of its distance nearer (negative: farther).
    void OnWheel(double notches);
    void OnRightButtonDown(int y);
    // Middle-drag, and Shift with the left button, pan from where the
    // button went down.
    void OnMiddleButtonDown(int x, int y);
    void OnMouseMove(int x, int y, const MouseKeys& keys);
    // Turns the view about the model's point under the cursor, at the same
    // distance; nothing over the background. Draws a frame to find it.
    void OnDoubleClick(int x, int y);

    // While a command runs (message boxes and dialogs run nested event
    // loops), model commands are ignored, a close waits for the command to
    // return, and no frame is drawn.
    bool Busy() const { return busyDepth_ > 0; }
    bool CanDrawFrame() const { return !Busy() && !closed_; }

    // False while a command runs: the close is then requested again once
    // the command has returned.
    bool AllowClose();
    // The close path: releases the current model; nothing runs afterwards.
    void Close();

private:
    class BusyScope;

    void LoadFromOpenDialog();
    // The old model released, then the file loaded. A failure is told and
    // leaves no model. True when the model loaded.
    bool OpenFile(const std::string& path);
    // The load of one file into `model`, with the busy cursor; a failure is
    // told, after the loader's own messages. True when the model loaded.
    bool LoadInto(LoadedModel& model, const std::string& path);
    // The file opened last, loaded again beside the current model, which it
    // then replaces, keeping the camera, the switches and the animation set
    // and time. When the file no longer loads, the failure is told and the
    // current model stays as it was, view and playback included.
    void Reload();
    class LongStepScope;
    void SaveTextFromDialog();
    void SaveImageFromDialog();
    // The current model written as glTF where the save dialog says, with
    // the up axis and vertex-colour switches as they stand, every set.
    void ExportGltfFromDialog();
    void Quit();
    void RunOnModel(const std::function<void(LoadedModel&)>& operation);
    void ReleaseModel();

    void RunCommand(int id);
    // The current pose shown as authored, the switch turned on first when it is off.
    void PoseAsAuthored();
    // SetAsAuthored within a command, which follows the view when it ends.
    void ChooseAsAuthored(bool on);
    // Every marked item set from the view value and the playback (only
    // those that disagree), then the OpenGL state applied from the value.
    void FollowView();
    void ChoosePolygonMode(int id);
    // The mark of `id` turned over; its new state. The mark, not the value,
    // tells the previous state.
    bool Toggle(int id);
    void ExclusiveToggle(const DrawPathEntry& chosen);
    // Marks `chosen` of the radio run of `count` items from id `first` on, and clears the others.
    void MarkRadio(int first, std::size_t count, int chosen);
    void FlipFrontFace();
    void FitView();
    // The camera fitted to the model as drawn (see FitView), within a command.
    void FrameModel();
    // The camera as the user set it by hand; the next playback no longer frames.
    void MoveCamera(const Camera& camera);
    void GoToFirstView();

    // The animation commands, and what they share.
    void TogglePlayback();
    void ChooseAnimationSet(std::int32_t set);
    void ChooseSpeed(double speed);
    void RewindAnimation();
    // The chosen set's time moved by `move` (SeekingCommands.h), then the
    // model posed there as authored.
    void MoveAnimationTime(const std::function<void(AnimationPlayback&, const Model&)>& move);
    bool HasAnimationSets() const;
    // The "Animation" menu of the current model (none: greyed).
    void ReplaceAnimationMenu();
    // The selection cleared and the listener told: the model is another.
    void ModelReplaced();
    // "Squelette" on or off; on, a model with meshes is drawn as authored, where its bones are posed.
    void ShowSkeleton(bool on);
    // The current model drawn in the pose the switches and the playback ask for.
    void ShowCurrentPose();

    ShellState& state_;
    ViewOptions& options_;
    platform::Menu& menu_;
    platform::FileDialogs& dialogs_;
    std::function<void()> requestClose_;
    std::function<void(bool)> showWorking_;
    std::function<void(const MenuNode&)> replaceAnimationMenu_;
    std::function<void(bool)> showRunning_;
    std::function<void()> modelReplaced_;
    int busyDepth_ = 0;
    bool closePending_ = false;
    bool closed_ = false;
};

// The requests of the file dialogs.
platform::FileDialogRequest OpenModelDialogRequest();
platform::FileDialogRequest SaveReportDialogRequest();
platform::FileDialogRequest SaveImageDialogRequest();
platform::FileDialogRequest ExportGltfDialogRequest();

// Each marked item of the menus with the mark the view value and the
// playback give it (the animation sets' and speeds' radio runs aside).
std::vector<std::pair<int, bool>> MarksOf(const ViewOptions& options, const AnimationPlayback& playback);

// The camera distance after `notches` wheel notches away from the user.
float WheelCameraDistance(float distance, double notches);
