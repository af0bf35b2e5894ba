// The command line of pelmora-convert.
#pragma once

#include "gltf/GltfExport.h"

#include <optional>
#include <string>
#include <vector>

namespace convert_tool {

struct ConvertOptions {
    std::vector<std::string> inputs;
    std::string output;                  // the file written, when there is one input and no folder
    std::optional<std::string> folder;   // -o: every input written into it under its own name
    bool separateFiles = false;          // --gltf: in a folder, .gltf rather than .glb
    gltf_export::ExportOptions exportOptions;  // all but the set, which each file finds by name
    std::optional<std::string> animation;      // the one set, by number from 1 or by name
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    std::optional<ConvertOptions> options;  // none when the line is wrong
    std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Where `input` goes in the folder of `options`: its stem, with ".glb" or ".gltf".
std::string OutputInFolder(const ConvertOptions& options, const std::string& input);

extern const char* const kUsage;

}  // namespace convert_tool
