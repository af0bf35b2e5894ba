// An offscreen OpenGL context that needs no display: EGL on Mesa's
// surfaceless platform, drawing into a framebuffer object of a given size
// with an RGBA colour buffer and a 24-bit depth buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class HeadlessContext {
public:
    // Makes the context current on success; check Ok() and Error().
    HeadlessContext(int width, int height);
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    bool Ok() const;
    const std::string& Error() const;

    // The colour buffer as RGBA bytes, top row first.
    std::vector<std::uint8_t> ReadPixels() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
