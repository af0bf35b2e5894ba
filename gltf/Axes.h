// From a .x file's left-handed axes to glTF's right-handed ones: the z axis
// mirrored, as the viewer's "as authored" pose mirrors it. A DirectX matrix
// (row vectors, p' = p * M) mirrored as S * M * S, S = diag(1, 1, -1), has
// in its rows the columns of glTF's matrix (column vectors), so its 16
// values in order are glTF's column-major values.
#pragma once

#include "model/Animation.h"
#include "model/Records.h"

#include <array>

namespace gltf_export::axes {

inline Vector3 Point(const Vector3& p) { return {p.x, p.y, -p.z}; }
Matrix4 Mirrored(const Matrix4& matrix);
// A key's rotation as glTF's x, y, z, w, of unit length (the identity for a
// quaternion of length 0 or not finite, as the viewer plays it).
std::array<float, 4> Rotation(const Quaternion& q);

// A matrix as translation, rotation and scale in glTF's axes.
struct Trs {
    std::array<float, 3> translation{};
    std::array<float, 4> rotation{0, 0, 0, 1};  // x, y, z, w
    std::array<float, 3> scale{1, 1, 1};
    bool exact = true;  // false: the matrix had shear or a projection, and these are the nearest
    bool finite = true;  // false: its parts were not finite numbers, and these are the identity's
};
Trs TrsOf(const Matrix4& matrix);
// The nearest affine matrix without shear: what TrsOf describes, for the
// inverse bind matrices glTF wants affine. `exact` as for TrsOf.
Matrix4 Affine(const Matrix4& matrix, bool& exact);

bool Finite(const Matrix4& matrix);

}  // namespace gltf_export::axes
