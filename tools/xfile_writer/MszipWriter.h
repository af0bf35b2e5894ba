// Compresses an uncompressed ".x" file into its MSZIP twin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace xfile {

// Up to 32 KiB of the uncompressed file per block.
inline constexpr std::size_t kMszipBlockBytes = 32768;

// The "tzip" or "bzip" twin of `file` (a "txt " or "bin " file, header
// included): the header with its format rewritten, the file's size, then
// blocks of at most `blockBytes` (at most kMszipBlockBytes) uncompressed
// bytes, each deflated with the 32 KiB before it as dictionary. Empty when
// `file` has no such header.
std::vector<std::uint8_t> CompressMszip(std::span<const std::uint8_t> file, std::size_t blockBytes = kMszipBlockBytes,
                                        int level = 9);

}  // namespace xfile
