// pelmora-report: loads a ".x" model and writes its text report.
#include "platform/HeadlessContext.h"
#include "platform/Messages.h"
#include "render/LoadedModel.h"
#include "report/Report.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintUsage(std::FILE* out)
{
    std::fputs(
        "Usage: pelmora-report FILE [OUT]\n"
        "Loads the DirectX .x text model FILE, textures included (on an offscreen\n"
        "OpenGL context), and writes its text report, the same as the viewer's\n"
        "\"Save txt\", to OUT, or to standard output when OUT is absent or \"-\".\n"
        "Messages are printed on standard error as \"caption: text\"; the load traces\n"
        "are left out. The exit status is 0 on success, 1 when the model cannot be\n"
        "loaded or OUT cannot be written, 2 on a usage error.\n",
        out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc < 2 || argc > 3) {
        PrintUsage(stderr);
        return 2;
    }

    platform::NullTraceSink noTraces;
    platform::ScopedTraceSink traces(noTraces);

    // Textures load as in the viewer when an offscreen context can be had;
    // without one the load still runs, its OpenGL calls doing nothing.
    const platform::HeadlessContext context(16, 16);

    LoadedModel loaded;
    if (loaded.Load(argv[1]) != S_OK) {
        std::fprintf(stderr, "pelmora-report: cannot load %s\n", argv[1]);
        return 1;
    }

    const bool toStdout = argc == 2 || std::strcmp(argv[2], "-") == 0;
    std::FILE* out = toStdout ? stdout : std::fopen(argv[2], "w");
    if (out == nullptr) {
        std::fprintf(stderr, "pelmora-report: cannot write %s\n", argv[2]);
        return 1;
    }
    report::WriteTextReport(loaded.model, out);
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (!toStdout) std::fclose(out);
    return written ? 0 : 1;
}
