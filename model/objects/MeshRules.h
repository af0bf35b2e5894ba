// What a "Mesh" and its "MeshMaterialList" mean beside their large lists.
// The lists themselves (vertices, faces, material indices, texture
// coordinates) are read in place by each reader, the text one in chunks on
// every core; these checks run inside those loops, once per element.
#pragma once

#include "model/Records.h"

#include <concepts>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace objects {

// Whether `index` names one of `count` elements: a face's vertex, a face's
// material.
template <std::integral Index>
[[gnu::always_inline]] inline bool NamesOneOf(Index index, Index count)
{
    if constexpr (std::is_signed_v<Index>)
        return index >= 0 && index < count;
    else
        return index < count;
}

// A material list of `count` slots before its materials and references
// fill them: "Unnamed", default colours, no texture.
inline std::vector<MaterialRecord> UnfilledMaterials(std::size_t count)
{
    return std::vector<MaterialRecord>(count, MaterialRecord{"Unnamed", {}, {}, {}});
}

}  // namespace objects
