#include "gltf/Document.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace gltf_export {

void Notices::Add(const std::string& line)
{
    if (counts_[line]++ == 0) order_.push_back(line);
}

std::vector<std::string> Notices::Lines() const
{
    std::vector<std::string> lines;
    for (const std::string& line : order_) {
        const std::size_t count = counts_.at(line);
        lines.push_back(count == 1 ? line : line + " (" + std::to_string(count) + " times)");
    }
    return lines;
}

Document::Document()
{
    gltf.buffers.emplace_back();
    gltf.asset.version = "2.0";
}

std::size_t Document::Grow(std::size_t bytes)
{
    Bytes& buffer = Buffer();
    const std::size_t end = buffer.size(), offset = (end + 3) / 4 * 4;
    // Left unwritten: the caller fills it whole. The padding before it is zeros.
    buffer.resize(offset + bytes);
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(end), buffer.begin() + static_cast<std::ptrdiff_t>(offset), 0);
    return offset;
}

std::string Document::Text(std::string_view name)
{
    std::string text;
    text.reserve(name.size());
    bool changed = false;
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        // The length of a well-formed UTF-8 sequence starting here, or 0.
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte <= 0xDF ? 2 : byte >= 0xE0 && byte <= 0xEF ? 3
                                                : byte >= 0xF0 && byte <= 0xF4 ? 4 : 0;
        if (length > 1) {
            if (i + length > name.size()) length = 0;
            for (std::size_t k = 1; k < length; ++k)
                if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) length = 0;
            if (length >= 3) {
                // No overlong forms, no surrogates, nothing past U+10FFFF.
                const auto second = static_cast<unsigned char>(name[i + 1]);
                if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second > 0x9F) ||
                    (byte == 0xF0 && second < 0x90) || (byte == 0xF4 && second > 0x8F))
                    length = 0;
            }
        }
        if (length > 0) {
            text.append(name.substr(i, length));
            i += length;
            continue;
        }
        changed = true;
        text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
        text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        ++i;
    }
    if (changed) notices.Add("a name that is not UTF-8: its bytes read as Latin-1");
    return text;
}

int Document::AddView(std::size_t offset, std::size_t length, int target)
{
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = offset;
    view.byteLength = length;
    view.target = target;
    gltf.bufferViews.push_back(std::move(view));
    return static_cast<int>(gltf.bufferViews.size()) - 1;
}

int Document::AddView(std::span<const std::uint8_t> bytes, int target)
{
    const std::size_t offset = Grow(bytes.size());
    std::copy(bytes.begin(), bytes.end(), Buffer().begin() + static_cast<std::ptrdiff_t>(offset));
    return AddView(offset, bytes.size(), target);
}

int Document::AddAccessor(int view, int componentType, int type, std::size_t count)
{
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.componentType = componentType;
    accessor.type = type;
    accessor.count = count;
    gltf.accessors.push_back(std::move(accessor));
    return static_cast<int>(gltf.accessors.size()) - 1;
}

int Document::NewFloats(std::size_t count, int type, int components, int target, std::size_t& offset)
{
    const std::size_t bytes = count * static_cast<std::size_t>(components) * sizeof(float);
    offset = Grow(bytes);
    return AddAccessor(AddView(offset, bytes, target), TINYGLTF_COMPONENT_TYPE_FLOAT, type, count);
}

int Document::AddFloats(std::span<const float> values, int type, int components, int target, bool bounds)
{
    assert(components > 0 && values.size() % static_cast<std::size_t>(components) == 0);
    std::size_t offset = 0;
    const int accessor = NewFloats(values.size() / static_cast<std::size_t>(components), type, components, target, offset);
    std::copy(values.begin(), values.end(), At<float>(offset));
    if (bounds) SetBounds(accessor, offset, components);
    return accessor;
}

void Document::SetBounds(int index, std::size_t offset, int components)
{
    tinygltf::Accessor& accessor = gltf.accessors[static_cast<std::size_t>(index)];
    const std::size_t n = static_cast<std::size_t>(components);
    accessor.minValues.assign(n, std::numeric_limits<double>::infinity());
    accessor.maxValues.assign(n, -std::numeric_limits<double>::infinity());
    const float* values = At<float>(offset);
    for (std::size_t i = 0; i < accessor.count * n; ++i) {
        const std::size_t c = i % n;
        accessor.minValues[c] = std::min(accessor.minValues[c], static_cast<double>(values[i]));
        accessor.maxValues[c] = std::max(accessor.maxValues[c], static_cast<double>(values[i]));
    }
}

}  // namespace gltf_export
