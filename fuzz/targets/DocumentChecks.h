// What a document and a model read from fuzzed bytes must hold, for the
// targets of the readers that build a Document.
#pragma once

#include "ExportFuzz.h"
#include "model/Model.h"
#include "model/binary/Document.h"
#include "model/binary/ModelFromObjects.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Every part stands in its array, every object's parts in the parts.
inline bool WholeDocument(const xfile::Document& document)
{
    auto holds = [](std::size_t first, std::size_t count, std::size_t size) {
        return first <= size && count <= size - first;
    };
    for (const xfile::DataObject& object : document.objects)
        if (!holds(object.firstPart, object.partCount, document.parts.size())) return false;
    for (const xfile::DataPart& part : document.parts) {
        std::size_t size = 0;
        switch (part.kind) {
        case xfile::PartKind::Integers: size = document.integers.size(); break;
        case xfile::PartKind::Floats: size = document.floats.size(); break;
        case xfile::PartKind::Strings: size = document.strings.size(); break;
        case xfile::PartKind::References: size = document.references.size(); break;
        case xfile::PartKind::Object: size = document.objects.size(); break;
        }
        if (!holds(part.first, part.count, size)) return false;
    }
    for (const std::uint32_t root : document.roots)
        if (root >= document.objects.size()) return false;
    return true;
}

// Every animation kept found its frame and holds keys.
inline bool FramesFound(const Model& model)
{
    for (const AnimationSetRecord& set : model.animationSets)
        for (const AnimationRecord& animation : set.animations)
            if (animation.frame < 0 || static_cast<std::size_t>(animation.frame) >= model.frames.size() ||
                !animation.HasKeys())
                return false;
    return true;
}

// The checks of a read that gave `document` (or `error` when not `read`),
// then of the model made from it, exported.
inline void CheckDocumentAndModel(bool read, xfile::Document&& document, std::string& error)
{
    if (read ? !WholeDocument(document) : error.empty() || !document.objects.empty()) __builtin_trap();
    if (!read) return;
    std::optional<Model> model = xfile::ModelFromObjects(std::move(document), error);
    if (model ? !FramesFound(*model) : error.empty()) __builtin_trap();
    if (model) {
        gltf_export::PrepareModel(*model);
        CheckExport(*model);
    }
}
