#include "app/CommandLine.h"

#include <string_view>

ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv)
{
    ViewerCommandLine parsed;
    int first = 1;
    for (; first < argc && argv[first] != nullptr; ++first) {
        const std::string_view argument = argv[first];
        if (argument == "--as-authored")
            parsed.asAuthored = true;
        else if (argument == "--fit")
            parsed.fit = true;
        else
            break;
    }
    parsed.modelPath = JoinCommandLine(argc - first + 1, argv + first - 1);
    return parsed;
}

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}
