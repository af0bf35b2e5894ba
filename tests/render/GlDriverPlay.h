// Plays a driver that lacks the buffer-object extension or some of its entry
// points, for one scope; the real driver is back afterwards.
#pragma once

#include "platform/GlEntryPoints.h"

#include <GL/gl.h>

#include <functional>
#include <optional>
#include <string>

namespace render_testing {

class ScopedExtensionString {
public:
    explicit ScopedExtensionString(const char* extensions) { platform::SetGlExtensionOverride(extensions); }
    ~ScopedExtensionString() { platform::SetGlExtensionOverride(std::nullopt); }
    ScopedExtensionString(const ScopedExtensionString&) = delete;
    ScopedExtensionString& operator=(const ScopedExtensionString&) = delete;
};

// Entry points come from `replace` when it returns one, from the driver
// otherwise; `missing` names one that the driver pretends not to have.
class ScopedEntryPoints {
public:
    ScopedEntryPoints(std::string missing, std::function<platform::GlProc(const std::string&)> replace = {});
    ~ScopedEntryPoints();
    ScopedEntryPoints(const ScopedEntryPoints&) = delete;
    ScopedEntryPoints& operator=(const ScopedEntryPoints&) = delete;
};

platform::GlProc DriverProc(const char* name);

// Live OpenGL names among the first few hundred.
int LiveBufferObjects();
int LiveDisplayLists();

}  // namespace render_testing
