// One image decoder on arbitrary bytes: the decode half of a texture reader,
// stopping before anything would reach OpenGL.
#pragma once

#include "platform/Messages.h"
#include "texture/Decoders.h"

#include <cstddef>
#include <cstdint>

// Large enough for every branch of the decoders (larger sides take the
// refusal path), small enough that one input decodes in milliseconds.
constexpr std::uint32_t kFuzzMaxSide = 512;

template <auto Decode>
int FuzzDecoder(const std::uint8_t* data, std::size_t size)
{
    // Library warnings go to the trace; keep them off the fuzzer's output.
    platform::NullTraceSink traces;
    const platform::ScopedTraceSink traceScope(traces);
    const DecodeContext context{"fuzz-input", kFuzzMaxSide};
    const auto decoded = Decode(std::span<const std::uint8_t>(data, size), context);
    (void)decoded;
    return 0;
}
