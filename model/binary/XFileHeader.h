// The 16-byte header every ".x" file starts with: "xof ", four version
// digits, the format ("txt ", "bin ", "tzip", "bzip") and the float size
// ("0032" or "0064").
#pragma once

#include "model/objects/FileHeader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace xfile {

inline constexpr std::size_t kHeaderSize = objects::kHeaderSize;
using Encoding = objects::Encoding;
using FileHeader = objects::FileHeader;

// Reads the header at the start of `file`. Refuses, with a message in
// `error`, bytes that do not start with one.
bool ReadHeader(std::span<const std::uint8_t> file, FileHeader& header, std::string& error);

}  // namespace xfile
