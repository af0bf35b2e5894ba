// One image decoder on arbitrary bytes: the decode half of a texture reader,
// stopping before anything would reach OpenGL.
#pragma once

#include "platform/Messages.h"
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"

#include <cstddef>
#include <cstdint>

// The readers' own limit when no context answers: an input must cost what its
// data holds, not be kept cheap by a small limit, so that a fuzzer run with
// -malloc_limit_mb and -rss_limit_mb flags any input that reserves far more
// than its size.
constexpr std::uint32_t kFuzzMaxSide = kFallbackMaxTextureSide;

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
