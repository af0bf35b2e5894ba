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

int Document::AddView(std::span<const std::uint8_t> bytes, int target)
{
    std::vector<unsigned char>& buffer = Buffer();
    buffer.resize((buffer.size() + 3) / 4 * 4, 0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = bytes.size();
    view.target = target;
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    gltf.bufferViews.push_back(std::move(view));
    return static_cast<int>(gltf.bufferViews.size()) - 1;
}

int Document::AddFloats(std::span<const float> values, int type, int components, int target, bool bounds)
{
    assert(components > 0 && values.size() % static_cast<std::size_t>(components) == 0);
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView({reinterpret_cast<const std::uint8_t*>(values.data()), values.size_bytes()}, target);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.type = type;
    accessor.count = values.size() / static_cast<std::size_t>(components);
    if (bounds) {
        accessor.minValues.assign(static_cast<std::size_t>(components), std::numeric_limits<double>::infinity());
        accessor.maxValues.assign(static_cast<std::size_t>(components), -std::numeric_limits<double>::infinity());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::size_t c = i % static_cast<std::size_t>(components);
            accessor.minValues[c] = std::min(accessor.minValues[c], static_cast<double>(values[i]));
            accessor.maxValues[c] = std::max(accessor.maxValues[c], static_cast<double>(values[i]));
        }
    }
    gltf.accessors.push_back(std::move(accessor));
    return static_cast<int>(gltf.accessors.size()) - 1;
}

int Document::AddIndices(std::span<const std::uint32_t> indices)
{
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView({reinterpret_cast<const std::uint8_t*>(indices.data()), indices.size_bytes()},
                                  TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    accessor.type = TINYGLTF_TYPE_SCALAR;
    accessor.count = indices.size();
    gltf.accessors.push_back(std::move(accessor));
    return static_cast<int>(gltf.accessors.size()) - 1;
}

int Document::AddJoints(std::span<const std::uint16_t> joints)
{
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView({reinterpret_cast<const std::uint8_t*>(joints.data()), joints.size_bytes()},
                                  TINYGLTF_TARGET_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
    accessor.type = TINYGLTF_TYPE_VEC4;
    accessor.count = joints.size() / 4;
    gltf.accessors.push_back(std::move(accessor));
    return static_cast<int>(gltf.accessors.size()) - 1;
}

}  // namespace gltf_export
