#include "app/CommandLine.h"

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}
