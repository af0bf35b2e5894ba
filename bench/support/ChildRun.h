// Runs a program (this one again, or another) in a process of its own, and
// collects what it printed, how it ended and how much memory it took at its
// peak.
#pragma once

#include <string>
#include <vector>

struct ChildRun {
    bool exitedCleanly = false;  // ran and returned 0
    std::string output;          // its standard output
    double seconds = 0;          // start to exit
    long peakKilobytes = 0;      // its largest resident size
};

// `arguments` follow the program's name.
ChildRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// This program again.
ChildRun RunSelf(const std::vector<std::string>& arguments);
