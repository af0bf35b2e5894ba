// Little-endian fields of .x files, read from and written to unaligned bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace xfile::detail {

inline std::uint16_t ReadLe16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t ReadLe32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline std::uint64_t ReadLe64(const std::uint8_t* bytes)
{
    return static_cast<std::uint64_t>(ReadLe32(bytes)) | static_cast<std::uint64_t>(ReadLe32(bytes + 4)) << 32;
}

inline void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void AppendLe64(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    AppendLe32(out, static_cast<std::uint32_t>(value));
    AppendLe32(out, static_cast<std::uint32_t>(value >> 32));
}

}  // namespace xfile::detail
