#include "model/text/ReadErrors.h"

#include "platform/Messages.h"


namespace reading {

namespace {
HRESULT Refuse(const TextReader& reader, std::string text)
{
    reader.Refuse(std::move(text));
    return E_FAIL;
}
}  // namespace

HRESULT ReportBadCount(const TextReader& reader, const std::string& object, std::int32_t count, std::int32_t line,
                       const char* operation)
{
    const std::int32_t fileLine = reader.FileLineNumber(line);
    if (count < 0)
        return Refuse(reader, platform::FormatMessage("Erreur de chargement, le nombre d'éléments (%d) de %s à la "
                                                      "ligne %d est négatif. %s",
                                                      count, object.c_str(), fileLine, operation));
    return Refuse(reader, platform::FormatMessage("Erreur de chargement, %s annonce %d éléments à la ligne %d, plus "
                                                  "que le fichier n'en contient. %s",
                                                  object.c_str(), count, fileLine, operation));
}

HRESULT ReportBadCornerCount(const TextReader& reader, const std::string& object, std::int32_t count, std::int32_t line,
                             const char* operation)
{
    return Refuse(reader, platform::FormatMessage("Erreur de chargement, une face de %s annonce %d sommets à la "
                                                  "ligne %d, plus que sa ligne n'en contient. %s",
                                                  object.c_str(), count, reader.FileLineNumber(line), operation));
}

HRESULT ReportBadIndex(const TextReader& reader, const std::string& object, const char* kind, const char* kindPlural,
                       std::int32_t index, std::int32_t available, std::int32_t line, const char* operation)
{
    return Refuse(reader, platform::FormatMessage("Erreur de chargement, l'indice de %s %d de %s à la ligne %d "
                                                  "n'existe pas (%d %s). %s",
                                                  kind, index, object.c_str(), reader.FileLineNumber(line), available,
                                                  kindPlural, operation));
}

}  // namespace reading
