// Wall-clock time of one step, for the benchmarks.
#pragma once

#include <chrono>

namespace bench_support {

// Milliseconds one call of `step` takes.
template <typename Step>
double Milliseconds(Step&& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench_support
