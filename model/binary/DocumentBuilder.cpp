#include "model/binary/DocumentBuilder.h"

#include <limits>
#include <stdexcept>

namespace xfile {

namespace {
// Parts and objects are indexed in 32 bits; files large enough to pass that
// are refused (as "out of memory") rather than wrapped.
std::uint32_t Index(std::size_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("xfile index");
    return static_cast<std::uint32_t>(value);
}
}  // namespace

const DataObject* DocumentBuilder::current() const
{
    return depth_ == 0 ? nullptr : &document_.objects[frames_[depth_ - 1].object];
}

bool DocumentBuilder::OpenObject(std::string type, std::string name, std::optional<Guid> guid)
{
    if (depth_ == kMaxDepth) return false;
    const std::uint32_t index = Index(document_.objects.size());
    document_.objects.push_back(DataObject{std::move(type), std::move(name), guid, 0, 0});
    if (depth_ == 0)
        document_.roots.push_back(index);
    else
        AddRun(PartKind::Object, index, 1);
    if (frames_.size() == depth_) frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.object = index;
    frame.parts.clear();
    return true;
}

void DocumentBuilder::CloseObject()
{
    if (depth_ == 0) return;
    Frame& frame = frames_[--depth_];
    DataObject& object = document_.objects[frame.object];
    object.firstPart = Index(document_.parts.size());
    object.partCount = Index(frame.parts.size());
    Index(document_.parts.size() + frame.parts.size());
    document_.parts.insert(document_.parts.end(), frame.parts.begin(), frame.parts.end());
}

void DocumentBuilder::AddRun(PartKind kind, std::size_t first, std::size_t count)
{
    std::vector<DataPart>& parts = frames_[depth_ - 1].parts;
    if (kind != PartKind::Object && !parts.empty() && parts.back().kind == kind &&
        std::size_t{parts.back().first} + parts.back().count == first) {
        parts.back().count = Index(parts.back().count + count);
        return;
    }
    parts.push_back(DataPart{kind, Index(first), Index(count)});
}

std::span<std::uint32_t> DocumentBuilder::AppendIntegers(std::size_t count)
{
    if (depth_ == 0 || count == 0) return {};
    const std::size_t first = document_.integers.size();
    Index(first + count);
    document_.integers.resize(first + count);
    AddRun(PartKind::Integers, first, count);
    return std::span<std::uint32_t>(document_.integers).subspan(first);
}

std::span<float> DocumentBuilder::AppendFloats(std::size_t count)
{
    if (depth_ == 0 || count == 0) return {};
    const std::size_t first = document_.floats.size();
    Index(first + count);
    document_.floats.resize(first + count);
    AddRun(PartKind::Floats, first, count);
    return std::span<float>(document_.floats).subspan(first);
}

void DocumentBuilder::AddString(std::string text)
{
    if (depth_ == 0) return;
    document_.strings.push_back(std::move(text));
    AddRun(PartKind::Strings, document_.strings.size() - 1, 1);
}

void DocumentBuilder::AddReference(Reference reference)
{
    if (depth_ == 0) return;
    document_.references.push_back(std::move(reference));
    AddRun(PartKind::References, document_.references.size() - 1, 1);
}

}  // namespace xfile
