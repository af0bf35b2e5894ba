// The "Scène" panel: the rows of the scene's parts (SceneParts.h) in a tree
// with two columns, a check box that hides or shows meshes, and the
// selection that chooses the mesh whose box is drawn. It asks the shell for
// both, with the canvas's context current.
#pragma once

#include "app/SceneParts.h"

#include <wx/treelist.h>

#include <functional>
#include <unordered_map>
#include <vector>

class LoadedModel;
class Shell;

class ScenePanel : public wxTreeListCtrl {
public:
    // `makeCurrent` makes the model's context current before a mesh is
    // hidden or shown (a display list is compiled again then).
    ScenePanel(wxWindow* parent, Shell& shell, std::function<void()> makeCurrent);

    // The rows of `loaded` (none: empty), each mesh's box checked when it is drawn.
    void ShowModel(const LoadedModel* loaded);

private:
    void OnChecked(wxTreeListEvent& event);
    void OnSelected(wxTreeListEvent& event);
    // The row of `item`; rows_.size() for an item of no row.
    std::size_t RowOf(wxTreeListItem item) const;

    Shell& shell_;
    std::function<void()> makeCurrent_;
    std::vector<ScenePartRow> rows_;
    std::vector<wxTreeListItem> items_;  // one per row
    std::unordered_map<const void*, std::size_t> rowOfItem_;
};
