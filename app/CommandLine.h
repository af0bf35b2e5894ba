// The model path named on the command line.
#pragma once

#include <string>

// The arguments after the program's own name joined by single blanks, taken
// verbatim (quotes and blanks inside them kept); empty without arguments.
std::string JoinCommandLine(int argc, const char* const* argv);
