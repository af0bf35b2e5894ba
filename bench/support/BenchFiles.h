// Small things the benchmarks all need: writing an input file, reading the
// process's own memory figures.
#pragma once

#include <filesystem>
#include <string>

// Writes `bytes` to `folder`/`name` and returns the file's path.
std::string WriteBytes(const std::filesystem::path& folder, const std::string& name, const std::string& bytes);

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), -1 when absent.
long StatusKilobytes(const char* field);
