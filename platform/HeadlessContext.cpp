#include "platform/HeadlessContext.h"

#include "platform/FramePixels.h"
#include "platform/GlEntryPoints.h"

#define EGL_EGLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <dlfcn.h>
#include <link.h>

#include <string_view>

namespace platform {

struct HeadlessContext::State {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    int width = 0;
    int height = 0;
    std::string error;
};

namespace {
template <typename T>
T Proc(const char* name)
{
    return reinterpret_cast<T>(eglGetProcAddress(name));
}

// Mesa unloads its driver with the last display. Kept loaded, later contexts
// start faster, and at exit leak checkers can still name the driver's own
// allocations (the driver is already loaded: this only stops its unloading).
void KeepGlDriverLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const std::string_view name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.ends_with("_dri.so")) dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
}  // namespace

HeadlessContext::HeadlessContext(int width, int height) : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.width = width;
    s.height = height;
    s.display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (s.display == EGL_NO_DISPLAY || !eglInitialize(s.display, &major, &minor)) {
        s.error = "no EGL surfaceless display";
        s.display = EGL_NO_DISPLAY;
        return;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        s.error = "EGL cannot bind the OpenGL API";
        return;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    eglChooseConfig(s.display, configAttributes, &config, 1, &configCount);
    // A compatibility context: the fixed-function pipeline and the legacy
    // extension string are what the renderer uses.
    s.context = eglCreateContext(s.display, configCount > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (s.context == EGL_NO_CONTEXT) {
        s.error = "EGL cannot create an OpenGL context";
        return;
    }
    if (!eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, s.context)) {
        s.error = "EGL cannot make the context current";
        return;
    }
    SetGlProcLookup([](const char* name) { return reinterpret_cast<GlProc>(eglGetProcAddress(name)); });
    KeepGlDriverLoaded();

    auto genFramebuffers = Proc<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto bindFramebuffer = Proc<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto genRenderbuffers = Proc<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto bindRenderbuffer = Proc<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto renderbufferStorage = Proc<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    auto framebufferRenderbuffer = Proc<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto checkStatus = Proc<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    if (!genFramebuffers || !bindFramebuffer || !genRenderbuffers || !bindRenderbuffer || !renderbufferStorage ||
        !framebufferRenderbuffer || !checkStatus) {
        s.error = "no framebuffer objects";
        return;
    }
    genFramebuffers(1, &s.framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    genRenderbuffers(1, &s.colour);
    bindRenderbuffer(GL_RENDERBUFFER, s.colour);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.colour);
    genRenderbuffers(1, &s.depth);
    bindRenderbuffer(GL_RENDERBUFFER, s.depth);
    renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s.depth);
    bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (checkStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        s.error = "the offscreen framebuffer is incomplete";
        return;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, width, height);
}

HeadlessContext::~HeadlessContext()
{
    State& s = *state_;
    if (s.display == EGL_NO_DISPLAY) return;
    if (s.context != EGL_NO_CONTEXT) {
        if (s.framebuffer != 0) {
            auto deleteFramebuffers = Proc<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
            auto deleteRenderbuffers = Proc<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");
            auto bindFramebuffer = Proc<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
            bindFramebuffer(GL_FRAMEBUFFER, 0);
            deleteFramebuffers(1, &s.framebuffer);
            GLuint buffers[] = {s.colour, s.depth};
            deleteRenderbuffers(2, buffers);
        }
        eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(s.display, s.context);
    }
    SetGlProcLookup(nullptr);
    eglTerminate(s.display);
}

bool HeadlessContext::Ok() const { return state_->error.empty() && state_->context != EGL_NO_CONTEXT; }
const std::string& HeadlessContext::Error() const { return state_->error; }

std::vector<std::uint8_t> HeadlessContext::ReadPixels() const
{
    return ReadFramePixels(state_->width, state_->height);
}

}  // namespace platform
