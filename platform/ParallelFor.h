// Running one step over index ranges on every core, with results that cannot
// depend on the number of threads:
// - [0, count) is cut into chunks whose bounds depend on `count` and `grain`
//   only, never on the thread count, so whatever a chunk computes (a partial
//   list, its first fault) is the same on one core as on sixteen;
// - the threads take the chunks in turn from one counter and each chunk's
//   outputs belong to that chunk alone; the caller combines them in chunk
//   order after every thread has finished;
// - below two chunks, or with one thread, the caller runs the chunks itself:
//   small inputs pay no thread start-up and make no system call.
// A step called from inside a chunk of another runs on the calling thread.
// An exception thrown by a chunk (std::bad_alloc) reaches the caller, the
// first in chunk order, once every thread has stopped.
#pragma once

#include <cstddef>
#include <functional>

namespace platform {

// The threads the parallel steps use: the machine's cores (asked once a
// process) unless set.
unsigned ParallelThreadCount();
// 0 goes back to the machine's cores. Set it before the steps run (the
// benchmarks' --threads, the tests' one-thread reference).
void SetParallelThreadCount(unsigned threads);

// Divides every grain by `divisor` (down to one item a chunk), so that the
// tests and fuzz replays drive small inputs through the threaded paths; 1,
// the default, leaves the grains as the steps chose them.
void SetParallelGrainDivisor(std::size_t divisor);

// Sets the thread count for its lifetime and puts the former one back.
class ScopedParallelThreadCount {
public:
    explicit ScopedParallelThreadCount(unsigned threads);
    ~ScopedParallelThreadCount();
    ScopedParallelThreadCount(const ScopedParallelThreadCount&) = delete;
    ScopedParallelThreadCount& operator=(const ScopedParallelThreadCount&) = delete;

private:
    unsigned former_;
};

// The chunks of `count` items of at least `grain` each (the last takes the
// remainder): at least one when `count` is not zero.
std::size_t ChunkCount(std::size_t count, std::size_t grain);

// Where chunk k of `chunks` begins in [0, count) (`count` for k == chunks).
inline std::size_t ChunkStart(std::size_t count, std::size_t chunks, std::size_t k)
{
    // In 128 bits: no product overflows.
    return static_cast<std::size_t>(static_cast<unsigned __int128>(count) * k / chunks);
}

// Calls chunk(k) for every k in [0, chunks), on up to ParallelThreadCount()
// threads (the caller's among them).
void RunChunks(std::size_t chunks, const std::function<void(std::size_t)>& chunk);

// Calls body(chunk, begin, end) for every chunk of [0, count) as cut by
// ChunkCount: chunk k of n covers [k * count / n, (k + 1) * count / n), so
// that the chunks differ by one item at most and none is empty.
template <class Body>
void ParallelFor(std::size_t count, std::size_t grain, Body&& body)
{
    const std::size_t chunks = ChunkCount(count, grain);
    if (chunks == 0) return;
    if (chunks == 1) {
        // As RunChunks would run it, without wrapping the body in a
        // std::function (an allocation for every small list).
        body(std::size_t{0}, std::size_t{0}, count);
        return;
    }
    RunChunks(chunks, [&](std::size_t k) { body(k, ChunkStart(count, chunks, k), ChunkStart(count, chunks, k + 1)); });
}

}  // namespace platform
