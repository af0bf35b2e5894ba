// The four draw paths in one table: how each is chosen (its switch, its menu
// item, its command-line word), what it draws from and how it draws. Every
// place that names a path reads it from here.
#pragma once

#include "render/RenderModel.h"
#include "render/ViewOptions.h"

#include <array>
#include <cstddef>
#include <string_view>

struct DrawPathEntry {
    DrawPath path;
    bool ViewOptions::*flag;     // the switch that selects it; null for immediate mode (no switch on)
    int menuCommand;             // its item's command id in the "Options" menu; 0: none
    std::string_view menuText;   // that item's text
    std::string_view word;       // pelmora-render's --path word
    // What it draws from, brought up to a new pose before it draws: the
    // display list, the interleaved vertices, the vertex buffer (filled from
    // those vertices).
    bool drawsList;
    bool drawsArrays;
    bool drawsVertexBuffer;
    void (*draw)(const RenderModel& render, const Model& model);
    // The other switches, in the order a choice of this one clears their marks.
    std::array<DrawPath, 2> clearOrder;
};

// In the order of the DrawPath values; the switches take precedence in this
// order too (display list, indexed arrays, buffer objects).
inline constexpr std::array<DrawPathEntry, 4> kDrawPaths{{
    {DrawPath::Immediate, nullptr, 0, {}, "immediate", false, false, false,
     [](const RenderModel& render, const Model& model) { render.DrawImmediate(model); }, {}},
    {DrawPath::DisplayList, &ViewOptions::useDisplayList, 40014, "Liste GL", "list", true, false, false,
     [](const RenderModel& render, const Model&) { render.DrawDisplayList(); },
     {DrawPath::IndexedArrays, DrawPath::BufferObjects}},
    {DrawPath::IndexedArrays, &ViewOptions::useIndexedArrays, 40015, "Indexed Primitive", "arrays", false, true, false,
     [](const RenderModel& render, const Model& model) { render.DrawIndexedArrays(model); },
     {DrawPath::DisplayList, DrawPath::BufferObjects}},
    {DrawPath::BufferObjects, &ViewOptions::useBufferObjects, 104, "Indexed Primitive ARB", "buffers", false, true, true,
     [](const RenderModel& render, const Model& model) { render.DrawBufferObjects(model); },
     {DrawPath::IndexedArrays, DrawPath::DisplayList}},
}};

constexpr const DrawPathEntry& DrawPathOf(DrawPath path) { return kDrawPaths[static_cast<std::size_t>(path)]; }

// The entry of a menu command or of a --path word; null for none.
const DrawPathEntry* DrawPathOfCommand(int command);
const DrawPathEntry* DrawPathOfWord(std::string_view word);

// The path the switches select: the first that is on, in the table's order;
// immediate mode when none is.
DrawPath SelectedPath(const ViewOptions& options);
// The switches that select `path` alone (none of them for immediate mode).
void SelectPath(ViewOptions& options, DrawPath path);
