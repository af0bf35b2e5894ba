#include "app/viewer/TimelinePanel.h"

#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>
#include <memory>

TimelinePanel::TimelinePanel(wxWindow* parent, const ShellState& state, Shell& shell)
    : wxPanel(parent), state_(state), shell_(shell)
{
    name_ = new wxStaticText(this, wxID_ANY, wxString());
    slider_ = new wxSlider(this, wxID_ANY, 0, 0, 1);
    time_ = new wxStaticText(this, wxID_ANY, wxString());
    auto sizer = std::make_unique<wxBoxSizer>(wxHORIZONTAL);
    sizer->Add(name_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 8);
    sizer->Add(slider_, 1, wxEXPAND);
    sizer->Add(time_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 8);
    SetSizer(sizer.release());
    // A drag moves the time at each step of the thumb, not only when let go.
    slider_->Bind(wxEVT_SLIDER, &TimelinePanel::OnSlider, this);
    Hide();
}

void TimelinePanel::OnSlider(wxCommandEvent& event)
{
    if (!shown_) return;
    shell_.SeekAnimationTo(TimelineSecondsAt(event.GetInt(), shown_->length));
}

bool TimelinePanel::Follow()
{
    const std::optional<TimelineView> view = TimelineOf(state_);
    const bool visibilityChanged = view.has_value() != shown_.has_value();
    if (view) {
        if (!shown_ || shown_->name != view->name) name_->SetLabel(wxString::FromUTF8(view->name));
        if (!shown_ || shown_->positions != view->positions) slider_->SetRange(0, std::max(view->positions, 1));
        if (!shown_ || shown_->position != view->position) slider_->SetValue(view->position);
        if (!shown_ || shown_->seconds != view->seconds || shown_->length != view->length)
            time_->SetLabel(wxString::FromUTF8(TimelineTimeText(view->seconds, view->length)));
    }
    // The texts' widths change with the name and the length: laid out again then.
    const bool resized = view && (!shown_ || shown_->name != view->name || shown_->length != view->length);
    if (visibilityChanged) Show(view.has_value());
    if (resized) Layout();
    shown_ = view;
    return visibilityChanged;
}
