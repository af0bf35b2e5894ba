#include "texture/TextureFacts.h"

#include "texture/PortableTexture.h"

TextureFacts ImageFacts(TextureFormat format, const TextureImage& image)
{
    return {format, image.width, image.height, image.components, std::nullopt,
            ClassifyAlpha(image.pixels.bytes(), image.components)};
}

TextureFacts DdsFacts(const DdsImage& image, DdsAlpha alpha)
{
    TextureFacts facts{TextureFormat::Dds, image.width, image.height, 0, DxtKindOf(image.format), std::nullopt};
    if (image.pixelFormat != 0) facts.components = image.components;
    if (alpha == DdsAlpha::Classify)
        if (const std::optional<TextureImage> surface = DdsSurfaceImage(image))
            facts.alpha = ClassifyAlpha(surface->pixels.bytes(), surface->components);
    return facts;
}
