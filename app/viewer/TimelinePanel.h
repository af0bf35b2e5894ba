// The timeline under the picture while an animation set is chosen: the
// set's name, a slider that scrubs through it, the time and the length.
#pragma once

#include "app/Shell.h"
#include "app/ShellState.h"
#include "app/Timeline.h"

#include <wx/panel.h>

#include <optional>

class wxSlider;
class wxStaticText;

class TimelinePanel : public wxPanel {
public:
    TimelinePanel(wxWindow* parent, const ShellState& state, Shell& shell);

    // Brought in step with the playback: shown or hidden, the slider and the
    // texts moved, only where they changed (no slider event follows).
    // True when it was shown or hidden, so that the window lays out again.
    bool Follow();

private:
    void OnSlider(wxCommandEvent& event);

    const ShellState& state_;
    Shell& shell_;
    wxStaticText* name_ = nullptr;  // child windows, owned by this panel
    wxSlider* slider_ = nullptr;
    wxStaticText* time_ = nullptr;
    std::optional<TimelineView> shown_;
};
