#include "GlDriverPlay.h"

#include "platform/BufferObjectApi.h"

#include <EGL/egl.h>
#include <GL/glext.h>

namespace render_testing {

platform::GlProc DriverProc(const char* name) { return reinterpret_cast<platform::GlProc>(eglGetProcAddress(name)); }

ScopedEntryPoints::ScopedEntryPoints(std::string missing, std::function<platform::GlProc(const std::string&)> replace)
{
    platform::SetGlProcLookup([missing, replace](const char* name) -> platform::GlProc {
        if (name == missing) return nullptr;
        if (replace)
            if (platform::GlProc proc = replace(name)) return proc;
        return DriverProc(name);
    });
}

ScopedEntryPoints::~ScopedEntryPoints() { platform::SetGlProcLookup(DriverProc); }

namespace {
constexpr GLuint kNamesLooked = 400;
}

int LiveBufferObjects()
{
    auto isBuffer = reinterpret_cast<PFNGLISBUFFERARBPROC>(DriverProc("glIsBufferARB"));
    int live = 0;
    for (GLuint name = 1; name < kNamesLooked; ++name) live += isBuffer(name) ? 1 : 0;
    return live;
}

int LiveDisplayLists()
{
    int live = 0;
    for (GLuint name = 1; name < kNamesLooked; ++name) live += glIsList(name) ? 1 : 0;
    return live;
}

}  // namespace render_testing
