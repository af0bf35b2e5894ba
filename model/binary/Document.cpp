#include "model/binary/Document.h"

namespace xfile {

namespace {
template <typename T, typename Allocator>
std::span<const T> Run(const std::vector<T, Allocator>& values, const DataPart& part)
{
    return std::span<const T>(values).subspan(part.first, part.count);
}
}  // namespace

std::span<const DataPart> Document::PartsOf(const DataObject& object) const
{
    return std::span<const DataPart>(parts).subspan(object.firstPart, object.partCount);
}

std::span<const std::uint32_t> Document::IntegersOf(const DataPart& part) const
{
    return part.kind == PartKind::Integers ? Run(integers, part) : std::span<const std::uint32_t>{};
}

std::span<const float> Document::FloatsOf(const DataPart& part) const
{
    return part.kind == PartKind::Floats ? Run(floats, part) : std::span<const float>{};
}

std::span<const std::string> Document::StringsOf(const DataPart& part) const
{
    return part.kind == PartKind::Strings ? Run(strings, part) : std::span<const std::string>{};
}

std::span<const Reference> Document::ReferencesOf(const DataPart& part) const
{
    return part.kind == PartKind::References ? Run(references, part) : std::span<const Reference>{};
}

const DataObject* Document::ObjectOf(const DataPart& part) const
{
    return part.kind == PartKind::Object ? &objects[part.first] : nullptr;
}

}  // namespace xfile
