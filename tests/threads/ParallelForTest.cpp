// The chunks of a parallel step: every item in exactly one, bounds that do
// not depend on the thread count, the first failure in chunk order told.
#include "platform/ParallelFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// The read system calls this process has made so far (Linux's own count).
std::optional<long> ReadSystemCalls()
{
    std::ifstream io("/proc/self/io");
    for (std::string key; io >> key;) {
        long value = 0;
        if (!(io >> value)) break;
        if (key == "syscr:") return value;
    }
    return std::nullopt;
}

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

// glibc reads a kernel file for every std::thread::hardware_concurrency(),
// and a load of many small meshes runs several steps for each mesh.
TEST(ParallelFor, TheMachinesCoresAreAskedOnceAndZeroStillMeansThem)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const platform::ScopedParallelThreadCount machine(0);
    EXPECT_EQ(platform::ParallelThreadCount(), cores);
    platform::SetParallelThreadCount(3);
    EXPECT_EQ(platform::ParallelThreadCount(), 3u);
    platform::SetParallelThreadCount(0);
    EXPECT_EQ(platform::ParallelThreadCount(), cores);

    const std::optional<long> before = ReadSystemCalls();
    ASSERT_TRUE(before) << "/proc/self/io holds no count of read calls";
    for (int k = 0; k < 1000; ++k) {
        (void)platform::ParallelThreadCount();
        platform::ParallelFor(10, 100, [](std::size_t, std::size_t, std::size_t) {});
        platform::RunChunks(1, [](std::size_t) {});
    }
    EXPECT_LT(ReadSystemCalls().value_or(0) - *before, 10);  // the count's own reading takes a few
}

}  // namespace
