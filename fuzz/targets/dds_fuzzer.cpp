#include "DecoderFuzz.h"
#include "texture/PortableTexture.h"

namespace {

// The decoder, then what the export makes of its first level: DXT blocks
// decompressed, uncompressed layouts spread to RGB or RGBA.
Decoded<DdsImage> DecodeDdsAndSurface(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    auto decoded = DecodeDds(bytes, context);
    if (decoded.image) (void)DdsSurfaceImage(*decoded.image);
    return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzDecoder<DecodeDdsAndSurface>(data, size);
}
