#include "texture/GrowingPixels.h"

#include <algorithm>

bool GrowingPixels::Reach(std::uint32_t count)
{
    if (count <= reservedRows_) return true;
    if (count > rows_) return false;
    // Doubling keeps the copies (when glibc must copy) to about the image once.
    constexpr std::size_t kFirstBytes = std::size_t{1} << 20;
    const std::uint64_t firstRows = rowBytes_ == 0 ? rows_ : std::max<std::size_t>(1, kFirstBytes / rowBytes_);
    const std::uint64_t rows = std::min<std::uint64_t>(
        rows_, std::max({std::uint64_t{count}, 2 * std::uint64_t{reservedRows_}, firstRows}));
    auto* grown = static_cast<std::uint8_t*>(std::realloc(bytes_.get(), std::max<std::size_t>(1, rows * rowBytes_)));
    if (grown == nullptr) return false;  // the rows held so far stay ours, freed with the object
    (void)bytes_.release();
    bytes_.reset(grown);
    reservedRows_ = static_cast<std::uint32_t>(rows);
    return true;
}

PixelBytes GrowingPixels::Take()
{
    const std::size_t size = rowBytes_ * rows_;
    reservedRows_ = 0;
    return PixelBytes(std::shared_ptr<const std::uint8_t>(std::move(bytes_)), size);
}
