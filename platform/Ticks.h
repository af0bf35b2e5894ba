#pragma once
#include <cstdint>

namespace platform {
// Milliseconds from an arbitrary start, 32-bit and wrapping like a system tick counter.
std::uint32_t TickCount();
}
