// The rows of an image being decoded from the top, in a buffer that grows
// with the rows the decoder has reached: a file whose data ends early costs
// what it held, never the size its header claims.
#pragma once

#include "texture/Decoders.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

class GrowingPixels {
public:
    // rowBytes × rows must fit in size_t (see ImageBytes).
    GrowingPixels(std::size_t rowBytes, std::uint32_t rows) : rowBytes_(rowBytes), rows_(rows) {}

    // Makes rows [0, count) writable, count <= rows; false when memory runs out.
    bool Reach(std::uint32_t count);
    std::uint8_t* Row(std::uint32_t y) { return bytes_.get() + y * rowBytes_; }
    // The image, once every row has been reached and written.
    PixelBytes Take();

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    // malloc and realloc, so that glibc can move a large buffer's pages
    // (mremap) instead of copying them, and nothing is zero-filled.
    std::unique_ptr<std::uint8_t, Free> bytes_;
    std::size_t rowBytes_;
    std::uint32_t rows_;
    std::uint32_t reservedRows_ = 0;
};
