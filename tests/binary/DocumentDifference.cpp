#include "DocumentDifference.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace xfile_testing {

namespace {

std::string CompareParts(const xfile::Document& a, const xfile::DataPart& pa, const xfile::Document& b,
                         const xfile::DataPart& pb, float tolerance)
{
    using xfile::PartKind;
    if (pa.kind != pb.kind) return "part kinds differ";
    if (pa.kind == PartKind::Object) return {};
    if (pa.count != pb.count) return "part lengths differ: " + std::to_string(pa.count) + " and " + std::to_string(pb.count);
    switch (pa.kind) {
    case PartKind::Integers: {
        const auto x = a.IntegersOf(pa), y = b.IntegersOf(pb);
        const auto at = std::mismatch(x.begin(), x.end(), y.begin()).first - x.begin();
        if (at != static_cast<std::ptrdiff_t>(x.size()))
            return "integer " + std::to_string(at) + ": " + std::to_string(x[at]) + " and " + std::to_string(y[at]);
        break;
    }
    case PartKind::Floats: {
        const auto x = a.FloatsOf(pa), y = b.FloatsOf(pb);
        for (std::size_t i = 0; i < x.size(); ++i) {
            const float allowed = tolerance * std::max(1.0f, std::fabs(x[i]));
            if (!(std::fabs(x[i] - y[i]) <= allowed) && !(std::isnan(x[i]) && std::isnan(y[i])))
                return "float " + std::to_string(i) + ": " + std::to_string(x[i]) + " and " + std::to_string(y[i]);
        }
        break;
    }
    case PartKind::Strings:
        if (!std::ranges::equal(a.StringsOf(pa), b.StringsOf(pb))) return "strings differ";
        break;
    case PartKind::References:
        if (!std::ranges::equal(a.ReferencesOf(pa), b.ReferencesOf(pb))) return "references differ";
        break;
    case PartKind::Object: break;
    }
    return {};
}

}  // namespace

std::string FirstDifference(const xfile::Document& a, const xfile::Document& b, float tolerance)
{
    if (a.roots.size() != b.roots.size())
        return "top-level objects: " + std::to_string(a.roots.size()) + " and " + std::to_string(b.roots.size());
    // Pairs of objects still to compare, and where they stand.
    std::vector<std::pair<const xfile::DataObject*, const xfile::DataObject*>> pending;
    for (std::size_t i = a.roots.size(); i-- > 0;) pending.emplace_back(&a.objects[a.roots[i]], &b.objects[b.roots[i]]);
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        const std::string where = x->type + " \"" + x->name + "\": ";
        if (x->type != y->type || x->name != y->name) return where + "type or name differ from " + y->type + " \"" + y->name + "\"";
        if (x->guid != y->guid) return where + "GUIDs differ";
        const auto px = a.PartsOf(*x), py = b.PartsOf(*y);
        if (px.size() != py.size())
            return where + std::to_string(px.size()) + " parts and " + std::to_string(py.size());
        for (std::size_t i = px.size(); i-- > 0;) {
            const std::string difference = CompareParts(a, px[i], b, py[i], tolerance);
            if (!difference.empty()) return where + "part " + std::to_string(i) + ": " + difference;
            if (px[i].kind == xfile::PartKind::Object) pending.emplace_back(a.ObjectOf(px[i]), b.ObjectOf(py[i]));
        }
    }
    return {};
}

}  // namespace xfile_testing
