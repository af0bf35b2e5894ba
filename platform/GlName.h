// One OpenGL object (a texture, a buffer object or a display list) and its
// one owner: the name is deleted exactly once, when its owner lets it go.
#pragma once

#include <GL/gl.h>

#include <utility>

namespace platform {

// What a name field holds when it names no object.
constexpr GLuint kNoGlName = 0xFFFFFFFFu;

enum class GlObjectKind { Texture, Buffer, DisplayList };

class GlName {
public:
    GlName() = default;
    GlName(GlObjectKind kind, GLuint name) : kind_(kind), name_(name) {}
    ~GlName() { Reset(); }
    GlName(GlName&& other) noexcept : kind_(other.kind_), name_(std::exchange(other.name_, kNoGlName)) {}
    GlName& operator=(GlName&& other) noexcept
    {
        if (this != &other) {
            Reset();
            kind_ = other.kind_;
            name_ = std::exchange(other.name_, kNoGlName);
        }
        return *this;
    }
    GlName(const GlName&) = delete;
    GlName& operator=(const GlName&) = delete;

    // The name, or kNoGlName.
    GLuint get() const { return name_; }
    explicit operator bool() const { return name_ != kNoGlName; }

    // Deletes the object, if there is one; the owner then holds none.
    void Reset();

private:
    GlObjectKind kind_ = GlObjectKind::Texture;
    GLuint name_ = kNoGlName;
};

}  // namespace platform
