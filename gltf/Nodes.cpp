// The scene's nodes: a root named after the file, then every frame under its
// parent, its matrix as translation, rotation and scale (glTF wants a node's
// matrix decomposable, and an animated node's as those three).
#include "gltf/Axes.h"
#include "gltf/Document.h"

#include <cmath>
#include <filesystem>

namespace gltf_export {
namespace {

void SetTrs(tinygltf::Node& node, const axes::Trs& trs)
{
    if (trs.translation != std::array<float, 3>{0, 0, 0}) node.translation.assign(trs.translation.begin(), trs.translation.end());
    if (trs.rotation != std::array<float, 4>{0, 0, 0, 1}) node.rotation.assign(trs.rotation.begin(), trs.rotation.end());
    if (trs.scale != std::array<float, 3>{1, 1, 1}) node.scale.assign(trs.scale.begin(), trs.scale.end());
}

}  // namespace

void AddNodes(ExportContext& context)
{
    tinygltf::Model& gltf = context.document.gltf;
    const Model& model = context.model;

    tinygltf::Node root;
    root.name = context.document.Text(std::filesystem::path(model.sourcePath).filename().string());
    if (context.options.upZ) {
        // A quarter turn about x puts the file's +z at the top, as the viewer stands a Z-up model up.
        const double half = std::sqrt(0.5);
        root.rotation = {half, 0, 0, half};
    }
    gltf.nodes.push_back(std::move(root));
    context.rootNode = 0;
    gltf.scenes.emplace_back();
    gltf.scenes[0].nodes.push_back(0);
    gltf.defaultScene = 0;

    context.frameNodes.assign(model.frames.size(), -1);
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        const FrameRecord& frame = model.frames[f];
        tinygltf::Node node;
        node.name = context.document.Text(frame.name);
        if (frame.transform) {
            const axes::Trs trs = axes::Finite(*frame.transform) ? axes::TrsOf(*frame.transform) : axes::Trs{.finite = false};
            if (!trs.finite) {
                context.document.notices.Add("a frame matrix with values that are not finite: written as the identity");
            } else {
                if (!trs.exact)
                    context.document.notices.Add(
                        "a frame matrix with shear or a projection: written as the nearest translation, rotation and scale");
                SetTrs(node, trs);
            }
        }
        const int index = static_cast<int>(gltf.nodes.size());
        gltf.nodes.push_back(std::move(node));
        context.frameNodes[f] = index;
        // A parent comes before its children; anything else hangs from the root.
        const int parent = frame.parent >= 0 && static_cast<std::size_t>(frame.parent) < f
                               ? context.frameNodes[static_cast<std::size_t>(frame.parent)]
                               : context.rootNode;
        gltf.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
    }
}

}  // namespace gltf_export
