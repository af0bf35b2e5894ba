#include "platform/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

namespace {

// Written by the benchmarks' and tests' set-up before any step runs, read by
// each step as it starts; atomic so that a step running meanwhile reads a
// whole value.
std::atomic<unsigned> requestedThreads{0};
std::atomic<std::size_t> grainDivisor{1};

// Set on the threads running a step's chunks: a step inside another runs on
// the thread that calls it, so that threads never multiply.
thread_local bool insideStep = false;

// Enough chunks for many cores, few enough that their partial outputs stay small.
constexpr std::size_t kMostChunks = 1024;

// Asked once: glibc reads the kernel's list of online processors on every
// call, three system calls that a load of many small meshes made per step.
unsigned MachineThreadCount()
{
    static const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return cores;
}

}  // namespace

unsigned ParallelThreadCount()
{
    const unsigned requested = requestedThreads.load(std::memory_order_relaxed);
    return requested > 0 ? requested : MachineThreadCount();
}

void SetParallelThreadCount(unsigned threads) { requestedThreads.store(threads, std::memory_order_relaxed); }

void SetParallelGrainDivisor(std::size_t divisor)
{
    grainDivisor.store(std::max<std::size_t>(divisor, 1), std::memory_order_relaxed);
}

ScopedParallelThreadCount::ScopedParallelThreadCount(unsigned threads)
    : former_(requestedThreads.load(std::memory_order_relaxed))
{
    SetParallelThreadCount(threads);
}

ScopedParallelThreadCount::~ScopedParallelThreadCount() { SetParallelThreadCount(former_); }

std::size_t ChunkCount(std::size_t count, std::size_t grain)
{
    if (count == 0) return 0;
    const std::size_t divided = grain / grainDivisor.load(std::memory_order_relaxed);
    return std::clamp<std::size_t>(count / std::max<std::size_t>(divided, 1), 1, kMostChunks);
}

void RunChunks(std::size_t chunks, const std::function<void(std::size_t)>& chunk)
{
    // One chunk, or a step inside another, needs no count of threads.
    const std::size_t threads = chunks <= 1 || insideStep ? 1 : std::min<std::size_t>(ParallelThreadCount(), chunks);
    if (threads <= 1) {
        for (std::size_t k = 0; k < chunks; ++k) chunk(k);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::vector<std::exception_ptr> failures(chunks);  // slot k written by the thread that ran chunk k
    auto work = [&] {
        insideStep = true;
        for (std::size_t k = next.fetch_add(1); k < chunks; k = next.fetch_add(1)) {
            try {
                chunk(k);
            } catch (...) {
                failures[k] = std::current_exception();
            }
        }
        insideStep = false;
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(threads - 1);
        for (std::size_t t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back(work);
            } catch (const std::system_error&) {
                break;  // no more threads to be had: the others share the chunks
            }
        }
        work();
    }  // every helper has finished here
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace platform
