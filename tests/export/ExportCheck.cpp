#include "ExportCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>

namespace export_check {
namespace {

bool NoImageDecoding(tinygltf::Image*, const int, std::string*, std::string*, int, int, const unsigned char*, int, void*)
{
    return true;
}

std::size_t ComponentBytes(int type)
{
    switch (type) {
    case TINYGLTF_COMPONENT_TYPE_BYTE:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return 1;
    case TINYGLTF_COMPONENT_TYPE_SHORT:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return 2;
    default: return 4;
    }
}

// The bytes of element `i`, component `c` of an accessor, checked by Faults first.
const unsigned char* At(const tinygltf::Model& gltf, const tinygltf::Accessor& a, std::size_t i, std::size_t c)
{
    const tinygltf::BufferView& view = gltf.bufferViews[static_cast<std::size_t>(a.bufferView)];
    const std::size_t size = ComponentBytes(a.componentType);
    const std::size_t stride = view.byteStride ? view.byteStride
                                               : size * static_cast<std::size_t>(tinygltf::GetNumComponentsInType(a.type));
    return gltf.buffers[static_cast<std::size_t>(view.buffer)].data.data() + view.byteOffset + a.byteOffset + i * stride +
           c * size;
}

double ValueAt(const tinygltf::Model& gltf, const tinygltf::Accessor& a, std::size_t i, std::size_t c)
{
    const unsigned char* p = At(gltf, a, i, c);
    switch (a.componentType) {
    case TINYGLTF_COMPONENT_TYPE_FLOAT: {
        float v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    default: return *p;
    }
}

Matrix Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix Trs(const std::array<double, 3>& t, const std::array<double, 4>& q, const std::array<double, 3>& s)
{
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double r[9] = {1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y),
                         2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x),
                         2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)};  // column-major
    Matrix m = Identity();
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) m[col * 4 + row] = r[col * 3 + row] * s[static_cast<std::size_t>(col)];
    m[12] = t[0], m[13] = t[1], m[14] = t[2];
    return m;
}

}  // namespace

std::optional<tinygltf::Model> ReadGlb(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(NoImageDecoding, nullptr);
    tinygltf::Model gltf;
    std::string warning;
    if (!loader.LoadBinaryFromMemory(&gltf, &error, &warning, bytes.data(), static_cast<unsigned>(bytes.size())))
        return std::nullopt;
    return gltf;
}

std::vector<float> Floats(const tinygltf::Model& gltf, int index)
{
    const tinygltf::Accessor& a = gltf.accessors[static_cast<std::size_t>(index)];
    const std::size_t n = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(a.type));
    std::vector<float> values(a.count * n);
    for (std::size_t i = 0; i < a.count; ++i)
        for (std::size_t c = 0; c < n; ++c) values[i * n + c] = static_cast<float>(ValueAt(gltf, a, i, c));
    return values;
}

std::vector<std::uint32_t> Integers(const tinygltf::Model& gltf, int index)
{
    const tinygltf::Accessor& a = gltf.accessors[static_cast<std::size_t>(index)];
    const std::size_t n = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(a.type));
    std::vector<std::uint32_t> values(a.count * n);
    for (std::size_t i = 0; i < a.count; ++i)
        for (std::size_t c = 0; c < n; ++c) values[i * n + c] = static_cast<std::uint32_t>(ValueAt(gltf, a, i, c));
    return values;
}

std::string Faults(const tinygltf::Model& gltf)
{
    const auto valid = [](int index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; };
    for (std::size_t v = 0; v < gltf.bufferViews.size(); ++v) {
        const tinygltf::BufferView& view = gltf.bufferViews[v];
        if (!valid(view.buffer, gltf.buffers.size()) ||
            view.byteOffset + view.byteLength > gltf.buffers[static_cast<std::size_t>(view.buffer)].data.size())
            return "buffer view " + std::to_string(v) + " outside its buffer";
        if (view.byteOffset % 4) return "buffer view " + std::to_string(v) + " not aligned";
    }
    for (std::size_t i = 0; i < gltf.accessors.size(); ++i) {
        const tinygltf::Accessor& a = gltf.accessors[i];
        if (!valid(a.bufferView, gltf.bufferViews.size())) return "accessor " + std::to_string(i) + " without a view";
        const std::size_t n = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(a.type));
        const std::size_t bytes = a.count * n * ComponentBytes(a.componentType);
        if (a.count == 0 || a.byteOffset + bytes > gltf.bufferViews[static_cast<std::size_t>(a.bufferView)].byteLength)
            return "accessor " + std::to_string(i) + " outside its view";
        if (a.componentType == TINYGLTF_COMPONENT_TYPE_FLOAT)
            for (const float value : Floats(gltf, static_cast<int>(i)))
                if (!std::isfinite(value)) return "accessor " + std::to_string(i) + " holds a value that is not finite";
    }
    const auto unit = [](const float* v, std::size_t n) {
        double sum = 0;
        for (std::size_t c = 0; c < n; ++c) sum += double(v[c]) * v[c];
        return std::abs(std::sqrt(sum) - 1) < 5e-4;
    };
    for (std::size_t m = 0; m < gltf.meshes.size(); ++m) {
        if (gltf.meshes[m].primitives.empty()) return "mesh " + std::to_string(m) + " without primitives";
        for (const tinygltf::Primitive& p : gltf.meshes[m].primitives) {
            const auto position = p.attributes.find("POSITION");
            if (position == p.attributes.end() || !valid(position->second, gltf.accessors.size()))
                return "mesh " + std::to_string(m) + " without positions";
            const tinygltf::Accessor& positions = gltf.accessors[static_cast<std::size_t>(position->second)];
            if (positions.minValues.size() != 3 || positions.maxValues.size() != 3) return "positions without bounds";
            for (const auto& [name, accessor] : p.attributes) {
                if (!valid(accessor, gltf.accessors.size())) return "attribute " + name + " names no accessor";
                if (gltf.accessors[static_cast<std::size_t>(accessor)].count != positions.count)
                    return "attribute " + name + " of another count";
            }
            if (!valid(p.indices, gltf.accessors.size())) return "primitive without indices";
            const std::vector<std::uint32_t> indices = Integers(gltf, p.indices);
            if (indices.size() % 3) return "indices not in threes";
            for (const std::uint32_t index : indices)
                if (index >= positions.count) return "index past the vertices";
            if (p.material >= 0 && !valid(p.material, gltf.materials.size())) return "primitive names no material";
            if (const auto normal = p.attributes.find("NORMAL"); normal != p.attributes.end()) {
                const std::vector<float> normals = Floats(gltf, normal->second);
                for (std::size_t k = 0; k + 2 < normals.size(); k += 3)
                    if (!unit(&normals[k], 3)) return "normal not of unit length";
            }
            for (int set = 0; p.attributes.count("WEIGHTS_" + std::to_string(set)); ++set) {
                const std::vector<float> weights = Floats(gltf, p.attributes.at("WEIGHTS_" + std::to_string(set)));
                if (!p.attributes.count("JOINTS_" + std::to_string(set))) return "weights without joints";
                if (set == 0) {
                    std::vector<double> sums(weights.size() / 4, 0.0);
                    for (int s = 0; p.attributes.count("WEIGHTS_" + std::to_string(s)); ++s) {
                        const std::vector<float> w = Floats(gltf, p.attributes.at("WEIGHTS_" + std::to_string(s)));
                        for (std::size_t k = 0; k < w.size(); ++k) {
                            if (w[k] < 0) return "negative weight";
                            sums[k / 4] += w[k];
                        }
                    }
                    for (const double sum : sums)
                        if (std::abs(sum - 1) > 2e-6) return "weights not summing to one";
                }
            }
        }
    }
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        const tinygltf::Node& node = gltf.nodes[n];
        if (node.mesh >= 0 && !valid(node.mesh, gltf.meshes.size())) return "node names no mesh";
        if (node.skin >= 0 && (!valid(node.skin, gltf.skins.size()) || node.mesh < 0)) return "node's skin invalid";
        for (const int child : node.children)
            if (!valid(child, gltf.nodes.size())) return "child names no node";
        if (!node.rotation.empty() && !unit(std::vector<float>(node.rotation.begin(), node.rotation.end()).data(), 4))
            return "node rotation not of unit length";
    }
    for (const tinygltf::Skin& skin : gltf.skins) {
        std::set<int> joints(skin.joints.begin(), skin.joints.end());
        if (joints.size() != skin.joints.size()) return "a joint twice in a skin";
        for (const int joint : skin.joints)
            if (!valid(joint, gltf.nodes.size())) return "joint names no node";
        if (skin.inverseBindMatrices >= 0 &&
            gltf.accessors[static_cast<std::size_t>(skin.inverseBindMatrices)].count != skin.joints.size())
            return "inverse bind matrices not one per joint";
    }
    for (const tinygltf::Mesh& mesh : gltf.meshes)
        for (const tinygltf::Primitive& p : mesh.primitives)
            for (int set = 0; p.attributes.count("JOINTS_" + std::to_string(set)); ++set) {
                // The skin of the node that holds the mesh bounds the joints.
                std::size_t joints = 0;
                for (const tinygltf::Node& node : gltf.nodes)
                    if (node.mesh >= 0 && &gltf.meshes[static_cast<std::size_t>(node.mesh)] == &mesh && node.skin >= 0)
                        joints = gltf.skins[static_cast<std::size_t>(node.skin)].joints.size();
                for (const std::uint32_t joint : Integers(gltf, p.attributes.at("JOINTS_" + std::to_string(set))))
                    if (joint >= std::max<std::size_t>(joints, 1)) return "joint index past the skin";
            }
    for (const tinygltf::Animation& animation : gltf.animations) {
        if (animation.channels.empty()) return "animation without channels";
        std::set<std::pair<int, std::string>> targets;
        for (const tinygltf::AnimationChannel& channel : animation.channels) {
            if (!valid(channel.sampler, animation.samplers.size()) || !valid(channel.target_node, gltf.nodes.size()))
                return "channel names no sampler or node";
            if (!targets.insert({channel.target_node, channel.target_path}).second) return "two channels on one target";
            if (!gltf.nodes[static_cast<std::size_t>(channel.target_node)].matrix.empty()) return "matrix node animated";
            const tinygltf::AnimationSampler& sampler = animation.samplers[static_cast<std::size_t>(channel.sampler)];
            const std::vector<float> times = Floats(gltf, sampler.input);
            for (std::size_t k = 0; k < times.size(); ++k)
                if (times[k] < 0 || (k > 0 && !(times[k] > times[k - 1]))) return "animation times not increasing";
            const std::vector<float> values = Floats(gltf, sampler.output);
            const std::size_t width = channel.target_path == "rotation" ? 4 : 3;
            if (values.size() != times.size() * width) return "animation output not one per time";
            if (width == 4)
                for (std::size_t k = 0; k + 3 < values.size(); k += 4)
                    if (!unit(&values[k], 4)) return "animation rotation not of unit length";
        }
    }
    return {};
}

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            m[col * 4 + row] = sum;
        }
    return m;
}

std::array<double, 3> Transform(const Matrix& m, const std::array<double, 3>& p)
{
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

std::vector<Matrix> WorldMatrices(const tinygltf::Model& gltf, int animation, double seconds)
{
    struct Parts {
        std::array<double, 3> t{0, 0, 0};
        std::array<double, 4> r{0, 0, 0, 1};
        std::array<double, 3> s{1, 1, 1};
    };
    std::vector<Parts> parts(gltf.nodes.size());
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        const tinygltf::Node& node = gltf.nodes[n];
        if (node.translation.size() == 3) std::copy(node.translation.begin(), node.translation.end(), parts[n].t.begin());
        if (node.rotation.size() == 4) std::copy(node.rotation.begin(), node.rotation.end(), parts[n].r.begin());
        if (node.scale.size() == 3) std::copy(node.scale.begin(), node.scale.end(), parts[n].s.begin());
    }
    if (animation >= 0)
        for (const tinygltf::AnimationChannel& channel : gltf.animations[static_cast<std::size_t>(animation)].channels) {
            const tinygltf::AnimationSampler& sampler =
                gltf.animations[static_cast<std::size_t>(animation)].samplers[static_cast<std::size_t>(channel.sampler)];
            const std::vector<float> times = Floats(gltf, sampler.input);
            const std::vector<float> values = Floats(gltf, sampler.output);
            const std::size_t width = channel.target_path == "rotation" ? 4 : 3;
            std::size_t k = 0;
            while (k + 1 < times.size() && times[k + 1] <= seconds) ++k;
            const std::size_t next = std::min(k + 1, times.size() - 1);
            double f = next == k || seconds <= times[k] ? 0 : (seconds - times[k]) / (times[next] - times[k]);
            f = std::clamp(f, 0.0, 1.0);
            std::array<double, 4> value{};
            if (width == 4) {
                double dot = 0;
                for (std::size_t c = 0; c < 4; ++c) dot += double(values[k * 4 + c]) * values[next * 4 + c];
                const double sign = dot < 0 ? -1 : 1;
                dot = std::abs(dot);
                double wa = 1 - f, wb = f;
                if (dot < 0.9995) {
                    const double angle = std::acos(dot);
                    wa = std::sin((1 - f) * angle) / std::sin(angle);
                    wb = std::sin(f * angle) / std::sin(angle);
                }
                double length = 0;
                for (std::size_t c = 0; c < 4; ++c) {
                    value[c] = wa * values[k * 4 + c] + wb * sign * values[next * 4 + c];
                    length += value[c] * value[c];
                }
                for (double& c : value) c /= std::sqrt(length);
                parts[static_cast<std::size_t>(channel.target_node)].r = value;
            } else {
                for (std::size_t c = 0; c < 3; ++c)
                    value[c] = values[k * 3 + c] + (values[next * 3 + c] - values[k * 3 + c]) * f;
                auto& target = channel.target_path == "translation" ? parts[static_cast<std::size_t>(channel.target_node)].t
                                                                     : parts[static_cast<std::size_t>(channel.target_node)].s;
                std::copy_n(value.begin(), 3, target.begin());
            }
        }
    std::vector<int> parent(gltf.nodes.size(), -1);
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n)
        for (const int child : gltf.nodes[n].children) parent[static_cast<std::size_t>(child)] = static_cast<int>(n);
    std::vector<Matrix> worlds(gltf.nodes.size());
    std::vector<bool> done(gltf.nodes.size(), false);
    // Parents come before children in an export; any order works by walking up.
    std::function<const Matrix&(std::size_t)> world = [&](std::size_t n) -> const Matrix& {
        if (!done[n]) {
            const Matrix local = Trs(parts[n].t, parts[n].r, parts[n].s);
            worlds[n] = parent[n] < 0 ? local : Multiply(world(static_cast<std::size_t>(parent[n])), local);
            done[n] = true;
        }
        return worlds[n];
    };
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) world(n);
    return worlds;
}

}  // namespace export_check
