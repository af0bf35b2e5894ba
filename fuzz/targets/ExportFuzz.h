// Every model a fuzzed reader gives is exported to memory as a .glb, read
// back, and held to the checks the export tests apply: a fault is a finding.
#pragma once

#include "ExportCheck.h"
#include "gltf/GltfExport.h"

#include <string>

inline void CheckExport(const Model& model)
{
    gltf_export::ExportOptions options;
    options.vertexColors = true;
    std::string error;
    const std::optional<tinygltf::Model> gltf = export_check::ReadGlb(gltf_export::ExportGlb(model, options), error);
    if (!gltf || !export_check::Faults(*gltf).empty()) __builtin_trap();
}
