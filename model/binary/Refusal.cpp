#include "model/binary/Refusal.h"

#include <cstdarg>
#include <cstdio>

namespace xfile::detail {

std::string Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, arguments);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(arguments);
    return text;
}

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
    std::string label = "l'objet ";
    label += Cleaned(type);
    if (!name.empty()) {
        label += ' ';
        label += Quoted(name);
    }
    return label;
}

std::string OutOfMemory(std::string_view operation)
{
    return LoadError("la mémoire manque pour lire ce fichier", operation);
}

}  // namespace xfile::detail
