// The viewer's command line: the switches that open the scene a certain way,
// and the model path.
#pragma once

#include <string>

struct ViewerCommandLine {
    std::string modelPath;    // empty when no model is named
    bool asAuthored = false;  // "--as-authored": the scene as its author placed it
    bool fit = false;         // "--fit": the view fitted to the model once loaded
};

// "--as-authored" and "--fit", in any order, before the path; every other
// argument, from the first that is neither, is part of the path.
ViewerCommandLine ParseViewerCommandLine(int argc, const char* const* argv);

// The arguments after the program's own name joined by single blanks, taken
// verbatim (quotes and blanks inside them kept); empty without arguments.
std::string JoinCommandLine(int argc, const char* const* argv);
