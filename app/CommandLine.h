// The viewer's command line: the switches that open the scene a certain way,
// the model path, and the requests for help or the version.
#pragma once

#include <string>

struct ViewerCommandLine {
    std::string modelPath;    // empty when no model is named
    bool asAuthored = false;  // "--as-authored": the scene as its author placed it
    bool fit = false;         // "--fit": the view fitted to the model once loaded
    // Set when the program has only this to print and must end with this
    // status ("--help", "--version", or a wrong command line).
    bool exit = false;
    int exitStatus = 0;
    std::string output;  // for standard output (status 0) or standard error
};

// "--as-authored", "--fit", "--help", "--version", before the path; every
// argument from the first that is none of them on is part of the path, joined
// by single blanks and taken verbatim (quotes and blanks kept).
ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv);

extern const char* const kViewerUsage;
