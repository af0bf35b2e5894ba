#include "app/viewer/ScenePanel.h"

#include "app/Shell.h"
#include "render/LoadedModel.h"

ScenePanel::ScenePanel(wxWindow* parent, Shell& shell, std::function<void()> makeCurrent)
    : wxTreeListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTL_SINGLE | wxTL_3STATE),
      shell_(shell),
      makeCurrent_(std::move(makeCurrent))
{
    AppendColumn("Élément", wxCOL_WIDTH_AUTOSIZE);
    AppendColumn("Détails", wxCOL_WIDTH_AUTOSIZE);
    Bind(wxEVT_TREELIST_ITEM_CHECKED, &ScenePanel::OnChecked, this);
    Bind(wxEVT_TREELIST_SELECTION_CHANGED, &ScenePanel::OnSelected, this);
}

void ScenePanel::ShowModel(const LoadedModel* loaded)
{
    Freeze();
    DeleteAllItems();
    rows_ = loaded ? ScenePartRows(*loaded) : std::vector<ScenePartRow>{};
    items_.clear();
    rowOfItem_.clear();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const ScenePartRow& row = rows_[r];
        const wxTreeListItem parent = row.parent >= 0 ? items_[static_cast<std::size_t>(row.parent)] : GetRootItem();
        const wxTreeListItem item = AppendItem(parent, wxString::FromUTF8(row.label));
        SetItemText(item, 1, wxString::FromUTF8(row.detail));
        items_.push_back(item);
        rowOfItem_.emplace(item.GetID(), r);
    }
    // Checked bottom up: each mesh as it is drawn, the rows under it alike,
    // a frame from what it holds.
    for (std::size_t r = rows_.size(); r-- > 0;) {
        const ScenePartRow& row = rows_[r];
        if (row.kind == ScenePartRow::Kind::Mesh) {
            const bool shown = loaded->MeshShown(static_cast<std::size_t>(row.mesh));
            CheckItemRecursively(items_[r], shown ? wxCHK_CHECKED : wxCHK_UNCHECKED);
        } else if (row.kind == ScenePartRow::Kind::Frame) {
            const std::vector<std::int32_t> meshes = MeshesUnder(rows_, r);
            if (meshes.empty()) CheckItem(items_[r], wxCHK_CHECKED);
        }
    }
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].kind == ScenePartRow::Kind::Mesh) UpdateItemParentStateRecursively(items_[r]);
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].kind == ScenePartRow::Kind::Frame) Expand(items_[r]);
    Thaw();
}

std::size_t ScenePanel::RowOf(wxTreeListItem item) const
{
    const auto found = rowOfItem_.find(item.GetID());
    return found == rowOfItem_.end() ? rows_.size() : found->second;
}

void ScenePanel::OnChecked(wxTreeListEvent& event)
{
    const std::size_t row = RowOf(event.GetItem());
    if (row >= rows_.size()) return;
    // The box of a material or a detail is its mesh's; a frame's holds the meshes under it.
    const std::size_t part = OwningPart(rows_, row);
    const wxCheckBoxState state = GetCheckedState(items_[row]) == wxCHK_UNCHECKED ? wxCHK_UNCHECKED : wxCHK_CHECKED;
    CheckItemRecursively(items_[part], state);
    UpdateItemParentStateRecursively(items_[part]);
    if (makeCurrent_) makeCurrent_();
    for (const std::int32_t mesh : MeshesUnder(rows_, part))
        shell_.ShowMesh(static_cast<std::size_t>(mesh), state == wxCHK_CHECKED);
}

void ScenePanel::OnSelected(wxTreeListEvent& event)
{
    const std::size_t row = RowOf(event.GetItem());
    shell_.SelectMesh(row < rows_.size() ? MeshOfRow(rows_, row) : -1);
}
