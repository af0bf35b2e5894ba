// The 16-byte header every ".x" file starts with: "xof ", four version
// digits, the format ("txt ", "bin ", "tzip", "bzip") and the float size
// ("0032" or "0064"). One check for every reader; each words its own refusal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace objects {

inline constexpr std::size_t kHeaderSize = 16;

enum class Encoding { Text, Binary };

struct FileHeader {
    // "xof 0302…" is version 3.2.
    int versionMajor = 3;
    int versionMinor = 3;
    // The format as written, without its padding: "txt", "bin", "tzip", "bzip".
    std::string formatName = "txt";
    Encoding encoding = Encoding::Text;
    // "tzip" and "bzip": MSZIP blocks of the text or binary form follow.
    bool compressed = false;
    // Bytes of each value of a binary float list: 4 ("0032") or 8 ("0064").
    unsigned floatBytes = 4;
};

// The first field of the header that is wrong, or None.
enum class HeaderFault { None, NotXof, Version, Format, FloatSize };

// Reads the header at the start of `bytes` into `header` (left as it was
// unless the result is None).
HeaderFault ParseHeader(std::string_view bytes, FileHeader& header);

}  // namespace objects
