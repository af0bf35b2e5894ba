#include "platform/Messages.h"
#include "platform/AsciiCase.h"
#include "texture/LoadTexture.h"
#include "texture/TexturePath.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using Reader = HRESULT (LoadTexture::*)(const TextureFile&);

struct ReaderEntry {
    std::string_view extension;
    Reader reader;
};

// Looked up in this order.
constexpr std::array kReaders{
    ReaderEntry{"jpg", &LoadTexture::Load_Jpeg}, ReaderEntry{"jpeg", &LoadTexture::Load_Jpeg},
    ReaderEntry{"tga", &LoadTexture::Load_TGA},  ReaderEntry{"bmp", &LoadTexture::Load_BMP},
    ReaderEntry{"ppm", &LoadTexture::Load_Ppm},  ReaderEntry{"png", &LoadTexture::Load_PNG},
    ReaderEntry{"dds", &LoadTexture::Load_DDS},
};

std::string_view TextureExtension(std::string_view fileName)
{
    // The text after the last dot of the whole name, directories included;
    // a name without a dot is its own extension.
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? fileName : fileName.substr(dot + 1);
}

}  // namespace

HRESULT LoadTexture::DoLoadTexture(const std::string& fileName, const std::string& modelFolder)
{
    const std::string_view extension = TextureExtension(fileName);
    const auto entry = std::find_if(kReaders.begin(), kReaders.end(), [&](const ReaderEntry& candidate) {
        return platform::EqualIgnoringAsciiCase(candidate.extension, extension);
    });
    if (entry == kReaders.end()) {
        platform::ShowMessage("Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture",
                              "Erreur", platform::MessageKind::Warning);
        return E_FAIL;
    }
    return (this->*(entry->reader))(TextureFile{fileName, ResolveTextureFile(fileName, modelFolder)});
}
