// Reading a texture file into memory.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// Up to `limit` bytes from the start of the file; nothing when it cannot be
// opened or read (a folder, for one).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path,
                                                       std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());
