#include "BenchFiles.h"

#include <cstdlib>
#include <fstream>

std::string WriteBytes(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    return -1;
}
