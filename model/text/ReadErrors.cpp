#include "model/ReadErrors.h"

#include "platform/Messages.h"

#include <algorithm>

namespace reading {

namespace {
HRESULT Refuse(const std::string& text)
{
    platform::ShowMessage(text, "Erreur", platform::MessageKind::Warning);
    return E_FAIL;
}
}  // namespace

bool CountFits(const Model& model, std::int32_t count, std::int32_t first)
{
    // Elements stand inside their object's block (the closing line may hold
    // the last one): objects that claim more cannot overlap one another, so
    // reading every object costs no more than the lines of the file.
    const std::int64_t end = model.objectBlockEnd >= 0 ? model.objectBlockEnd + 1 : model.lineCount();
    const std::int64_t remaining = std::min<std::int64_t>(end, model.lineCount()) - first;
    return count >= 0 && count <= std::max<std::int64_t>(remaining, 0);
}

std::string ObjectLabel(std::string_view objectWord, std::string_view meshName)
{
    std::string label = "l'objet " + std::string(objectWord);
    if (objectWord == "Mesh")
        label += " \"" + std::string(meshName) + "\"";
    else
        label += " de la mesh \"" + std::string(meshName) + "\"";
    return label;
}

HRESULT ReportBadCount(const Model& model, const std::string& object, std::int32_t count, std::int32_t line,
                       const char* operation)
{
    const std::int32_t fileLine = model.FileLineNumber(line);
    if (count < 0)
        return Refuse(platform::FormatMessage("Erreur de chargement, le nombre d'éléments (%d) de %s à la ligne %d est "
                                              "négatif. %s",
                                              count, object.c_str(), fileLine, operation));
    return Refuse(platform::FormatMessage("Erreur de chargement, %s annonce %d éléments à la ligne %d, plus que le "
                                          "fichier n'en contient. %s",
                                          object.c_str(), count, fileLine, operation));
}

HRESULT ReportBadCornerCount(const Model& model, const std::string& object, std::int32_t count, std::int32_t line,
                             const char* operation)
{
    return Refuse(platform::FormatMessage("Erreur de chargement, une face de %s annonce %d sommets à la ligne %d, plus "
                                          "que sa ligne n'en contient. %s",
                                          object.c_str(), count, model.FileLineNumber(line), operation));
}

HRESULT ReportBadIndex(const Model& model, const std::string& object, const char* kind, const char* kindPlural,
                       std::int32_t index, std::int32_t available, std::int32_t line, const char* operation)
{
    return Refuse(platform::FormatMessage("Erreur de chargement, l'indice de %s %d de %s à la ligne %d n'existe pas "
                                          "(%d %s). %s",
                                          kind, index, object.c_str(), model.FileLineNumber(line), available,
                                          kindPlural, operation));
}

}  // namespace reading
