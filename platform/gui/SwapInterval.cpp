#include "platform/gui/SwapInterval.h"

#include <GL/glx.h>

#include <cstring>

namespace platform {

namespace {
bool HasGlxExtension(Display* display, const char* name)
{
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + length, name))
        if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}
}  // namespace

bool DisableSwapWait()
{
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) return false;

    if (HasGlxExtension(display, "GLX_EXT_swap_control")) {
        const auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval != nullptr) {
            swapInterval(display, drawable, 0);
            return true;
        }
    }
    if (HasGlxExtension(display, "GLX_MESA_swap_control")) {
        const auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval != nullptr) return swapInterval(0) == 0;
    }
    return false;
}

}  // namespace platform
