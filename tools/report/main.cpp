// pelmora-report: loads a ".x" model and writes its text report.
#include "NoMesh.h"
#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "platform/Version.h"
#include "render/LoadedModel.h"
#include "report/Report.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

namespace {

const char* const kUsage =
    "Usage: pelmora-report FILE [OUT]\n"
    "Loads the DirectX .x model FILE (text, binary or compressed), textures\n"
    "included (on an offscreen OpenGL context), and writes its text report, the\n"
    "same as the viewer's \"Save txt\", to OUT, or to standard output when OUT is\n"
    "absent or \"-\". Messages are printed on standard error as \"caption: text\";\n"
    "the load traces are left out. A file that loads but holds no mesh gets its\n"
    "report all the same, with \"no mesh in FILE\" on standard error. The exit\n"
    "status is 0 on success, 1 when the model cannot be loaded or OUT cannot be\n"
    "written, 2 on a usage error.\n"
    "\n"
    "Options:\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"pelmora-report", "pelmora-report"};
    app.set_help_flag();  // the help text is ours
    bool help = false, version = false;
    std::string modelPath, outputPath = "-";
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_option("FILE", modelPath);
    app.add_option("OUT", outputPath);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "pelmora-report: %s\n\n%s", error.what(), kUsage);
        return 2;
    }
    if (help || version) {
        std::fputs(help ? kUsage : (std::string("pelmora-report ") + platform::kVersion + "\n").c_str(), stdout);
        return 0;
    }
    if (modelPath.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    platform::NullTraceSink noTraces;
    platform::ScopedTraceSink traces(noTraces);

    // Textures load as in the viewer when an offscreen context can be had;
    // without one the load still runs, its OpenGL calls doing nothing.
    const platform::HeadlessContext context(16, 16);

    LoadedModel loaded;
    LoadError failure;
    if (loaded.Load(modelPath, {}, &failure) != S_OK) {
        std::fprintf(stderr, "pelmora-report: cannot load %s: %s\n", modelPath.c_str(), failure.reason.c_str());
        return 1;
    }
    tool_common::TellWhenNoMesh("pelmora-report", loaded.model, modelPath);  // a true report all the same

    if (outputPath != "-") {
        // Whole or not at all, as the viewer's "Save txt".
        const std::string error = report::SaveText(loaded.model, outputPath);
        if (!error.empty()) {
            std::fprintf(stderr, "pelmora-report: cannot write %s: %s\n", outputPath.c_str(), error.c_str());
            return 1;
        }
        return 0;
    }
    report::WriteTextReport(loaded.model, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
