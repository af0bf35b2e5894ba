#include "platform/GlEntryPoints.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <cstring>

namespace platform {

namespace {
GlProcLookup& Lookup()
{
    static GlProcLookup lookup;
    return lookup;
}
std::optional<const char*>& ExtensionOverride()
{
    static std::optional<const char*> value;
    return value;
}
}  // namespace

GlProc GetGlProcAddress(const char* name)
{
    if (Lookup()) return Lookup()(name);
    return reinterpret_cast<GlProc>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

void SetGlProcLookup(GlProcLookup lookup) { Lookup() = std::move(lookup); }

const char* GlExtensionString()
{
    if (ExtensionOverride()) return *ExtensionOverride();
    return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
}

void SetGlExtensionOverride(std::optional<const char*> extensions) { ExtensionOverride() = extensions; }

bool HasCurrentGlContext() { return glGetString(GL_VERSION) != nullptr; }

bool HasGlExtension(const char* name)
{
    const char* extensions = GlExtensionString();
    return extensions != nullptr && std::strstr(extensions, name) != nullptr;
}

}  // namespace platform
