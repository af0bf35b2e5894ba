// MSZIP-compressed ".x" files ("tzip" and "bzip"). After the 16-byte header
// come the size of the whole uncompressed file (header included, 32 bits,
// little-endian) and blocks, each: its uncompressed size (16 bits), the size
// of what follows (16 bits: the "CK" signature and the compressed bytes),
// "CK", then one raw deflate stream whose dictionary is the last 32 KiB that
// the blocks before it produced.
#pragma once

#include "platform/LargeBlocks.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xfile {

// A whole file's bytes, or its inflated form.
using FileBytes = platform::LargeVector<std::uint8_t>;

// Inflates a "tzip" or "bzip" file into the uncompressed file it stands for:
// the same header with its format rewritten to "txt " or "bin ", then the
// inflated blocks; its size is exactly the size the file declares. Refuses,
// with a message in `error` and `uncompressed` empty, a file whose blocks are
// cut, damaged, or do not add up to that size.
bool InflateMszip(std::span<const std::uint8_t> file, FileBytes& uncompressed, std::string& error);
// The same for bytes the caller gives up (`file` is left empty): the blocks
// inflated go back to the system as the inflation moves on.
bool InflateMszip(FileBytes&& file, FileBytes& uncompressed, std::string& error);

// Told, as a file inflates, how far its inflated bytes are final.
class InflationProgress {
public:
    // The first `bytes` of the inflated file (header included) are written
    // and the inflation neither reads nor writes them any more.
    virtual void Settled(std::size_t bytes) = 0;

protected:
    ~InflationProgress() = default;
};

// The inflated size a compressed file declares, when it is one its
// compressed bytes could well hold; nothing otherwise.
std::optional<std::size_t> LikelyInflatedSize(std::span<const std::uint8_t> file);
// Inflates `file` as InflateMszip does into `out`, which the caller sized
// to LikelyInflatedSize(file), telling `progress` after each block.
// `consumable`, when given, holds `file` and gets its inflated blocks given
// back. On a refusal `error` says why and `out` is to be thrown away.
bool InflateMszipInto(std::span<const std::uint8_t> file, FileBytes* consumable, FileBytes& out,
                      InflationProgress& progress, std::string& error);

}  // namespace xfile
