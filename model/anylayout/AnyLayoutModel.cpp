#include "model/anylayout/AnyLayoutModel.h"

#include "model/anylayout/AnyLayoutObjects.h"
#include "model/binary/ModelFromObjects.h"
#include "model/binary/Refusal.h"

#include <string_view>

std::optional<Model> ReadAnyLayoutText(const std::string& path, std::span<const std::uint8_t> text, std::string& error)
{
    xfile::Document document;
    if (!xfile::ReadTextObjectsAnyLayout(text, document, error)) return std::nullopt;
    std::optional<Model> model;
    // The objects are given up to the model's reader, which hands them back as it goes.
    const bool built = xfile::detail::RefusingOutOfMemory("ReadAnyLayoutText", error, [&] {
        model = xfile::ModelFromObjects(std::move(document), error);
        return model.has_value();
    });
    if (!built) return std::nullopt;
    xfile::TextHeaderLine header;
    xfile::ReadTextHeaderLine(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), header);
    model->versionMajor = header.versionMajor;
    model->versionMinor = header.versionMinor;
    model->formatType = "txt";
    model->floatSize = header.floatSize;
    model->sourcePath = path;
    model->SortMeshesByOpacity();
    return model;
}
