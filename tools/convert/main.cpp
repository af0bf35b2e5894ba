// pelmora-convert: writes .x models as glTF 2.0. No OpenGL, no display.
#include "ConvertOptions.h"

#include "AnimationChoice.h"
#include "NoMesh.h"
#include "gltf/GltfExport.h"
#include "model/file/ModelFile.h"
#include "platform/Messages.h"
#include "platform/Version.h"

#include <filesystem>
#include <iostream>
#include <map>

namespace {

constexpr const char* kTool = "pelmora-convert";

struct Failure {
    std::string file;
    std::string reason;
};

// One model read, prepared and written to `output`; each problem is told on
// standard error as it is met. Why the file was not written, or nothing.
std::optional<std::string> ConvertFile(const convert_tool::ConvertOptions& options, const std::string& input,
                                       const std::string& output)
{
    // One missing texture that many materials name is told once per file.
    const platform::ScopedDistinctMessages distinct;
    // The export carries the scene as its author made it, in whatever layout it was written.
    ModelOrError model = ReadModelFile(input, {.anyLayout = true});
    if (!model) {
        platform::ShowMessages(model.error().messages);
        const std::string& reason = model.error().reason;
        std::cerr << kTool << ": cannot load " << input << ": " << reason << "\n";
        return "cannot load: " + reason;
    }
    tool_common::TellWhenNoMesh(kTool, *model, input);  // its frames and animations are written all the same
    gltf_export::ExportOptions exportOptions = options.exportOptions;
    if (options.animation) {
        const auto set = tool_common::FindAnimationSet(*model, *options.animation);
        if (!set) {
            std::cerr << kTool << ": " << input << " has no animation set " << *options.animation << "\n";
            return "no animation set " + *options.animation;
        }
        exportOptions.onlySet = *set;
    }
    gltf_export::PrepareModel(*model);
    const gltf_export::ExportResult result = gltf_export::ExportModel(*model, output, exportOptions);
    for (const std::string& notice : result.notices) std::cerr << kTool << ": " << input << ": " << notice << "\n";
    if (!result.Ok()) {
        std::cerr << kTool << ": " << output << ": " << result.error << "\n";
        return result.error;
    }
    return std::nullopt;
}

int ConvertIntoFolder(const convert_tool::ConvertOptions& options)
{
    const std::string& folder = *options.folder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << kTool << ": cannot make the folder " << folder << ": "
                  << (error ? error.message() : std::string("a file of that name is there")) << "\n";
        return 1;
    }
    std::vector<Failure> failures;
    std::map<std::string, std::string> written;  // output -> the input it holds
    const std::size_t count = options.inputs.size();
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& input = options.inputs[k];
        const std::string output = convert_tool::OutputInFolder(options, input);
        std::cout << "[" << k + 1 << "/" << count << "] " << input << " -> " << output << std::endl;
        // Two inputs of one name (a/model.x, b/model.x): the second would replace the first.
        if (const auto earlier = written.find(output); earlier != written.end()) {
            const std::string reason = "its output " + output + " would replace that of " + earlier->second;
            std::cerr << kTool << ": " << input << ": " << reason << "\n";
            failures.push_back({input, reason});
            continue;
        }
        if (auto reason = ConvertFile(options, input, output))
            failures.push_back({input, std::move(*reason)});
        else
            written.emplace(output, input);
    }
    if (failures.empty()) return 0;
    std::cerr << kTool << ": " << failures.size() << " of " << count << " files not converted:\n";
    for (const Failure& failure : failures) std::cerr << "  " << failure.file << ": " << failure.reason << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const convert_tool::ParsedCommandLine parsed = convert_tool::ParseCommandLine(arguments);
    if (!parsed.options) {
        std::cerr << kTool << ": " << parsed.error << "\n\n" << convert_tool::kUsage;
        return 2;
    }
    const convert_tool::ConvertOptions& options = *parsed.options;
    if (options.help) {
        std::cout << convert_tool::kUsage;
        return 0;
    }
    if (options.version) {
        std::cout << kTool << " " << platform::kVersion << "\n";
        return 0;
    }

    // Texture and reader messages as "caption: text" on standard error; the
    // load traces would mix with the progress lines, and are left out.
    platform::ConsoleMessageSink console;
    const platform::ScopedMessageSink messages(console);
    platform::NullTraceSink noTraces;
    const platform::ScopedTraceSink traces(noTraces);
    if (options.folder) return ConvertIntoFolder(options);
    return ConvertFile(options, options.inputs[0], options.output) ? 1 : 0;
}
