#include "model/binary/Refusal.h"

#include "model/objects/ObjectLabels.h"

namespace xfile::detail {

std::string LoadError(std::string_view what, std::string_view operation)
{
    std::string text = "Erreur de chargement, ";
    text += what;
    text += ". ";
    text += operation;
    return text;
}

std::string Cleaned(std::string_view name)
{
    // Names come from the file: keep the message readable whatever they hold.
    constexpr std::size_t kLongest = 255;
    std::string text;
    for (const char c : name.substr(0, kLongest)) text += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return text;
}

std::string Quoted(std::string_view name)
{
    std::string quoted(1, '"');
    quoted += Cleaned(name);
    quoted += '"';
    return quoted;
}

std::string ObjectLabel(std::string_view type, std::string_view name)
{
    return objects::ObjectLabel(Cleaned(type), Cleaned(name));
}

std::string OutOfMemory(std::string_view operation)
{
    return LoadError("la mémoire manque pour lire ce fichier", operation);
}

}  // namespace xfile::detail
