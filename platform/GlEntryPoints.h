// Looking up OpenGL extension entry points and the extension string.
// Both can be replaced, so that tests can play a driver that lacks an
// extension or an entry point.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

using GlProc = void (*)();
using GlProcLookup = std::function<GlProc(const char* name)>;

// The entry point of that name, or nullptr.
GlProc GetGlProcAddress(const char* name);
// nullptr restores the default lookup (GLX, or EGL once a headless context exists).
void SetGlProcLookup(GlProcLookup lookup);

// glGetString(GL_EXTENSIONS), which may be null (no context, or a core context).
const char* GlExtensionString();
// Replaces the extension string; std::nullopt goes back to the driver's.
// An override holding a null pointer plays a driver without the string.
void SetGlExtensionOverride(std::optional<const char*> extensions);

// True while an OpenGL context is current on this thread. GLU's helpers read
// the context's state and must not run without one.
bool HasCurrentGlContext();

// True when `name` occurs as a plain substring of the extension string; a
// missing string has no extensions.
bool HasGlExtension(const char* name);

}  // namespace platform
