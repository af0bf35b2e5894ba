// One image decoder on arbitrary bytes: the decode half of a texture reader,
// stopping before anything would reach OpenGL.
#pragma once

#include "texture/Decoders.h"

#include <cstddef>
#include <cstdint>

// Large enough for every branch of the decoders, small enough that one input
// cannot ask for more than a few hundred megabytes.
constexpr std::uint32_t kFuzzMaxSide = 4096;

template <auto Decode>
int FuzzDecoder(const std::uint8_t* data, std::size_t size)
{
    const DecodeContext context{"fuzz-input", kFuzzMaxSide};
    const auto decoded = Decode(std::span<const std::uint8_t>(data, size), context);
    (void)decoded;
    return 0;
}
