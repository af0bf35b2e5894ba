#include "platform/Ticks.h"

#include <chrono>

namespace platform {
std::uint32_t TickCount()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}
}  // namespace platform
