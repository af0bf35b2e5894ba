// The common path of the readers that end in UploadTextureImage: read the
// file, decode it, show what the decoder has to say, upload the image.
#pragma once

#include "texture/Decoders.h"

using ImageDecoder = Decoded<TextureImage> (*)(std::span<const std::uint8_t>, const DecodeContext&);

// `missing` is shown when the file cannot be read at all.
HRESULT ReadDecodeUpload(LoadTexture& texture, const TextureFile& file, const TextureMessage& missing,
                         ImageDecoder decode, GLenum minFilter);
