// How a material's transparency is drawn. As read, every material blends by
// its alpha (its diffuse alpha times its texture's), with blending on and no
// alpha test from the start of a draw to its end. As authored, each material
// takes the alpha mode the glTF export gives it (MaterialAlphaMode): a
// texture's alpha that only holds a gloss mask no longer shows through.
#pragma once

#include "model/Records.h"
#include "model/Transparency.h"
#include "texture/LoadTexture.h"

#include <optional>

namespace render {

// The texture a material is drawn with (null: none), and whether the scene
// is drawn as authored.
struct DrawnTexture {
    const LoadTexture* texture = nullptr;
    bool asAuthored = false;
};

// The alpha mode of a material drawn as authored; a texture whose alpha was
// not looked at counts as opaque.
AlphaMode AuthoredAlphaMode(const MaterialRecord& material, const LoadTexture* texture);

// The alpha state one draw has set so far. Opaque: blending off, and the
// drawn alpha the material's alone (what is written is opaque too); mask:
// blending off, fragments below kAlphaCutoff dropped; blend: the draw's
// starting state. OpenGL is told only of changes; when the draw ends, a
// state it changed is put back.
class AlphaState {
public:
    AlphaState() = default;
    ~AlphaState();
    AlphaState(const AlphaState&) = delete;
    AlphaState& operator=(const AlphaState&) = delete;

    // As authored, the mode of `material`; as read, nothing.
    void Setup(const MaterialRecord& material, const DrawnTexture& drawn);

private:
    void Apply(AlphaMode mode);

    std::optional<AlphaMode> mode_;  // none until this draw sets one
};

}  // namespace render
