#include "texture/ReaderMessages.h"

TextureMessage ReaderMessage(const ReaderWording& wording, std::string_view name, std::string_view tail)
{
    std::string after(tail);
    after.append(wording.separator).append(wording.operation);
    return {NamedMessage(wording.lead, name, after), std::string(wording.caption)};
}

TextureMessage IncompleteMessage(const ReaderWording& wording, std::string_view name)
{
    return ReaderMessage(wording, name, " est incomplet");
}

TextureMessage SizeMessage(const ReaderWording& wording, std::string_view name, std::uint64_t width,
                           std::uint64_t height)
{
    return ReaderMessage(wording, name,
                         " a une taille non prise en charge (" + std::to_string(width) + " x " + std::to_string(height) +
                             ")");
}

TextureMessage MemoryMessage(const ReaderWording& wording, std::string_view name)
{
    return ReaderMessage(wording, name, " demande plus de mémoire qu'il n'y en a");
}
