// Every animation set as one animation: its keys at their own times, in
// seconds from the set's first key by the rate the viewer plays it at,
// rotations, scales and positions as channels of the frame's node, matrix
// keys decomposed key by key.
#include "gltf/Axes.h"
#include "gltf/Document.h"

#include "model/AnimationSampling.h"

#include <cmath>
#include <map>

namespace gltf_export {
namespace {

// Times and values of one channel, as written.
struct Track {
    std::vector<float> times;
    std::vector<float> values;
    std::size_t width = 0;  // values per key
};

class SetWriter {
public:
    SetWriter(ExportContext& context, const AnimationTiming& timing, tinygltf::Animation& animation)
        : context_(context), timing_(timing), animation_(animation)
    {
    }

    template <typename Value, typename Convert>
    void Add(const std::vector<TimedKey<Value>>& keys, int node, const char* path, std::size_t width, Convert convert)
    {
        if (keys.empty()) return;
        Track track;
        track.width = width;
        for (const TimedKey<Value>& key : keys) {
            const float seconds = static_cast<float>((key.time - timing_.firstTick) / timing_.ticksPerSecond);
            std::array<float, 4> value{};
            convert(key.value, value);
            if (!track.times.empty() && !(seconds > track.times.back())) {
                if (seconds == track.times.back()) {
                    // Keys at one time: the viewer shows the last of them there.
                    std::copy_n(value.begin(), width, track.values.end() - static_cast<std::ptrdiff_t>(width));
                    Note("animation keys at the same time: the last kept");
                } else {
                    Note("an animation key earlier than the one before it: left out");
                }
                continue;
            }
            track.times.push_back(seconds);
            track.values.insert(track.values.end(), value.begin(), value.begin() + static_cast<std::ptrdiff_t>(width));
        }
        if (width == 4) KeepRotationsNear(track);
        Write(track, node, path);
    }

    void Note(const std::string& line) { context_.document.notices.Add(line); }

private:
    // q and -q are one rotation; each key on the side of the one before it,
    // so that any client's interpolation takes the shorter way, as the viewer's.
    static void KeepRotationsNear(Track& track)
    {
        for (std::size_t k = 4; k + 3 < track.values.size(); k += 4) {
            float dot = 0;
            for (std::size_t c = 0; c < 4; ++c) dot += track.values[k + c] * track.values[k - 4 + c];
            if (dot < 0)
                for (std::size_t c = 0; c < 4; ++c) track.values[k + c] = -track.values[k + c];
        }
    }

    void Write(const Track& track, int node, const char* path)
    {
        Document& document = context_.document;
        tinygltf::AnimationSampler sampler;
        sampler.input = document.AddFloats(track.times, TINYGLTF_TYPE_SCALAR, 1, 0, true);
        sampler.output = document.AddFloats(track.values, track.width == 4 ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3,
                                            static_cast<int>(track.width), 0);
        sampler.interpolation = "LINEAR";
        animation_.samplers.push_back(std::move(sampler));
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation_.samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        animation_.channels.push_back(std::move(channel));
    }

    ExportContext& context_;
    const AnimationTiming& timing_;
    tinygltf::Animation& animation_;
};

bool FiniteVector(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void AddSet(ExportContext& context, std::size_t set)
{
    const Model& model = context.model;
    const AnimationSetRecord& record = model.animationSets[set];
    const AnimationTiming timing = TimingOf(model, set);

    // A frame that two animations of the set move takes the last, as the viewer plays it.
    std::map<std::int32_t, const AnimationRecord*> last;
    for (const AnimationRecord& animation : record.animations)
        if (animation.frame >= 0 && static_cast<std::size_t>(animation.frame) < model.frames.size() && animation.HasKeys())
            last[animation.frame] = &animation;

    tinygltf::Animation animation;
    animation.name = context.document.Text(animation_rules::DisplayName(record, set));
    SetWriter writer(context, timing, animation);
    bool notFinite = false;
    for (const auto& [frame, keys] : last) {
        const int node = context.frameNodes[static_cast<std::size_t>(frame)];
        if (!keys->matrixKeys.empty()) {
            std::vector<TimedKey<axes::Trs>> parts;
            parts.reserve(keys->matrixKeys.size());
            for (const TimedKey<Matrix4>& key : keys->matrixKeys) {
                Matrix4 matrix = key.value;
                if (!axes::Finite(matrix)) {
                    notFinite = true;
                    matrix = Matrix4{};
                }
                axes::Trs trs = axes::TrsOf(matrix);
                if (!trs.finite) notFinite = true;
                if (!trs.exact)
                    writer.Note("a matrix key with shear or a projection: written as the nearest translation, rotation and scale");
                parts.push_back({key.time, trs});
            }
            writer.Add(parts, node, "translation", 3, [](const axes::Trs& t, std::array<float, 4>& v) {
                std::copy(t.translation.begin(), t.translation.end(), v.begin());
            });
            writer.Add(parts, node, "rotation", 4, [](const axes::Trs& t, std::array<float, 4>& v) { v = t.rotation; });
            writer.Add(parts, node, "scale", 3, [](const axes::Trs& t, std::array<float, 4>& v) {
                std::copy(t.scale.begin(), t.scale.end(), v.begin());
            });
            continue;
        }
        writer.Add(keys->rotationKeys, node, "rotation", 4,
                   [](const Quaternion& q, std::array<float, 4>& v) { v = axes::Rotation(q); });
        writer.Add(keys->scaleKeys, node, "scale", 3, [&](const Vector3& s, std::array<float, 4>& v) {
            if (!FiniteVector(s)) notFinite = true;
            v = FiniteVector(s) ? std::array<float, 4>{s.x, s.y, s.z, 0} : std::array<float, 4>{1, 1, 1, 0};
        });
        writer.Add(keys->positionKeys, node, "translation", 3, [&](const Vector3& p, std::array<float, 4>& v) {
            if (!FiniteVector(p)) notFinite = true;
            const Vector3 mirrored = FiniteVector(p) ? axes::Point(p) : Vector3{};
            v = {mirrored.x, mirrored.y, mirrored.z, 0};
        });
    }
    if (notFinite) writer.Note("animation key values that are not finite: written as the frame at rest");
    if (animation.channels.empty()) {
        writer.Note("an animation set with no keys: left out");
        return;
    }
    tinygltf::Value::Object extras;
    extras["loops"] = tinygltf::Value(timing.loops);
    animation.extras = tinygltf::Value(std::move(extras));
    context.document.gltf.animations.push_back(std::move(animation));
}

}  // namespace

void AddAnimations(ExportContext& context)
{
    if (!context.options.animations) return;
    const std::size_t sets = context.model.animationSets.size();
    if (context.options.onlySet) {
        if (*context.options.onlySet < sets) AddSet(context, *context.options.onlySet);
        return;
    }
    for (std::size_t set = 0; set < sets; ++set) AddSet(context, set);
}

}  // namespace gltf_export
