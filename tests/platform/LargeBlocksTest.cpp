#include "platform/LargeBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

// Blocks on both sides of the threshold keep what is written to them through
// growth, shrinking and release; large ones start on a huge-page boundary.
TEST(LargeBlocks, VectorsKeepTheirValuesAcrossTheThreshold)
{
    // Past the threshold of 2 MiB (which the sanitizer build lifts).
    // 4,000,004 bytes map two whole huge pages; 4.2 MB, two and a tail of ordinary pages.
    for (const std::size_t count : {std::size_t{1000}, std::size_t{1000001}, (std::size_t{4} << 20) / 4 + 12345}) {
        platform::LargeVector<std::uint32_t> values;
        values.resize(count);
        std::iota(values.begin(), values.end(), 7u);
        values.resize(3 * count);  // moves into a new block
#if !defined(PELMORA_LARGE_BLOCKS_CHECKED)
        if (count * 4 >= platform::kLargeBlockBytes) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (std::uintptr_t{2} << 20), 0u);
        }
#endif
        for (std::size_t i = 0; i < count; i += 997) ASSERT_EQ(values[i], 7u + i) << count;
        values.back() = 1;  // the last element of a block is its own
        values.resize(count / 2);
        values.shrink_to_fit();
        EXPECT_EQ(values[count / 2 - 1], 7u + count / 2 - 1);
    }
}

// What is given back is whole pages inside the range: the values on both
// sides of it, even in the same page, keep what was written to them.
TEST(LargeBlocks, ForgettingARangeKeepsItsNeighbours)
{
    for (const std::size_t count : {std::size_t{3000}, (std::size_t{8} << 20) / 4}) {
        platform::LargeVector<std::uint32_t> values(count);
        std::iota(values.begin(), values.end(), 3u);
        // From one value past a page boundary to one value short of another, far on.
        const std::size_t first = 1025, last = count - 1023;
        platform::ForgetValues(values, first, last - first);
        platform::ForgetValues(values, count - 1, 5);  // clipped to the vector's end
        for (std::size_t i = 0; i < first; ++i) ASSERT_EQ(values[i], 3u + i) << count;
        for (std::size_t i = last; i + 1 < count; ++i) ASSERT_EQ(values[i], 3u + i) << count;
    }
}
