// The viewer's command line: the switches that open the scene a certain way,
// the model path, and the requests for help or the version.
#pragma once

#include <string>

struct ViewerCommandLine {
    std::string modelPath;      // empty when no model is named
    bool asAuthored = false;    // "--as-authored": the scene as its author placed it
    bool fit = false;           // "--fit": the view fitted to the model once loaded
    bool vertexColors = false;  // "--vertex-colors": a mesh's vertex colours as its diffuse colour
    bool upZ = false;           // "--up z": the scene turned so that z points up
    // Set when the program has only this to print and must end with this
    // status ("--help", "--version", or a wrong command line).
    bool exit = false;
    int exitStatus = 0;
    std::string output;  // for standard output (status 0) or standard error
};

// The options may stand anywhere on the line; an unknown one is a wrong
// command line (status 2). The other words are the path, joined by single
// blanks in their order and taken verbatim (quotes and blanks kept), so a
// path the shell split at its blanks comes back whole. After "--" every word
// is the path's.
ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv);

extern const char* const kViewerUsage;
