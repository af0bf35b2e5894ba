// The chunks of a parallel step: every item in exactly one, bounds that do
// not depend on the thread count, the first failure in chunk order told.
#include "platform/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(ParallelFor, EveryItemFallsInOneChunkWhateverTheThreadsAndGrain)
{
    for (const std::size_t count : {0u, 1u, 7u, 1966u, 4096u, 100'003u}) {
        for (const std::size_t grain : {1u, 3u, 500u, 65536u}) {
            std::vector<std::vector<std::size_t>> boundsByThreads;
            for (const unsigned threads : {1u, 2u, 7u}) {
                const platform::ScopedParallelThreadCount scoped(threads);
                std::vector<std::atomic<int>> seen(count);
                const std::size_t chunks = platform::ChunkCount(count, grain);
                std::vector<std::size_t> bounds(2 * chunks);
                platform::ParallelFor(count, grain, [&](std::size_t k, std::size_t begin, std::size_t end) {
                    EXPECT_LT(begin, end);
                    bounds[2 * k] = begin;
                    bounds[2 * k + 1] = end;
                    for (std::size_t i = begin; i < end; ++i) ++seen[i];
                });
                for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(seen[i], 1) << count << " items, grain " << grain;
                boundsByThreads.push_back(bounds);
            }
            EXPECT_EQ(boundsByThreads[0], boundsByThreads[1]);
            EXPECT_EQ(boundsByThreads[0], boundsByThreads[2]);
        }
    }
}

TEST(ParallelFor, TheFirstFailureInChunkOrderReachesTheCaller)
{
    const platform::ScopedParallelThreadCount scoped(4);
    std::atomic<int> ran{0};
    try {
        platform::ParallelFor(64, 1, [&](std::size_t k, std::size_t, std::size_t) {
            ++ran;
            if (k == 9 || k == 40) throw std::runtime_error("chunk " + std::to_string(k));
        });
        FAIL() << "no failure reached the caller";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "chunk 9");
    }
    EXPECT_EQ(ran, 64);  // the other chunks ran to their end before the caller went on
}

}  // namespace
