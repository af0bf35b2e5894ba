// Presenting frames as fast as they are drawn.
#pragma once

namespace platform {

// Asks the current GLX drawable not to wait for the vertical retrace.
// Returns false when the driver offers no way to ask.
bool DisableSwapWait();

}  // namespace platform
