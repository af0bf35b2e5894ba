// A material's texture as a file another program can read: the glTF
// export's view of the texture readers. No OpenGL here.
#pragma once

#include "model/Transparency.h"
#include "texture/Decoders.h"
#include "texture/DxtBlocks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PortableTexture {
    std::string mimeType;             // "image/png" or "image/jpeg"
    std::vector<std::uint8_t> bytes;  // PNG and JPEG files: their own bytes; other formats: a PNG made from the decoded image
    TextureAlpha alpha = TextureAlpha::None;
    std::uint32_t width = 0, height = 0;
};

// The texture a material names, looked for as the viewer looks for it
// (ResolveTextureFile with the model's folder), decoded by the reader its
// extension chooses (the same choice as LoadTexture::DoLoadTexture) or, when
// that reader refuses it, by the one its bytes name (ReaderChoice::
// ContentOnRefusal), ready for a glTF file. What the reader has to say is
// told through the message sink exactly as the viewer's load tells it (same
// texts, same captions); nothing comes back when the file cannot be found or
// decoded.
std::optional<PortableTexture> ReadPortableTexture(const std::string& fileName, const std::string& modelFolder);

// Level 0 of a decoded DDS file as 8-bit RGB, or RGBA when it has an alpha
// channel (DXT3, DXT5, a DXT1 image with a transparent texel, an
// uncompressed layout with alpha): blocks decompressed, luminance spread to
// grey, an alpha-only layout white. Nothing when its bytes fall short or
// memory runs out.
std::optional<TextureImage> DdsSurfaceImage(const DdsImage& image);

// The kind of blocks of a compressed DDS format; none for any other format.
std::optional<DxtKind> DxtKindOf(GLenum format);
