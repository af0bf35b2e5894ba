#include "gltf/Axes.h"

#include "model/AnimationSampling.h"

#include <algorithm>
#include <cmath>

namespace gltf_export::axes {
namespace {

constexpr float kSign[4] = {1, 1, -1, 1};
constexpr float kTolerance = 1e-4f;

float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 Minus(const Vector3& a, const Vector3& b, float k) { return {a.x - k * b.x, a.y - k * b.y, a.z - k * b.z}; }

// Rows made orthonormal and right-handed (Gram-Schmidt from the first): the
// rotation nearest to rows that have shear.
std::array<Vector3, 3> Orthonormal(std::array<Vector3, 3> rows)
{
    rows[0].Normalize();
    rows[1] = Minus(rows[1], rows[0], Dot(rows[1], rows[0]));
    rows[1].Normalize();
    if (rows[1] == Vector3{}) {
        // The second row was along the first: any axis across it will do.
        rows[1] = std::abs(rows[0].x) < 0.9f ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
        rows[1] = Minus(rows[1], rows[0], Dot(rows[1], rows[0]));
        rows[1].Normalize();
    }
    rows[2] = Vector3::Cross(rows[0], rows[1]);
    return rows;
}

// The unit quaternion (x, y, z, w) of the rotation whose matrix for column
// vectors has the rows' vectors as its columns.
std::array<float, 4> QuaternionOfRows(const std::array<Vector3, 3>& r)
{
    // c(i, j): row i, column j of the column-vector matrix = rows[j] component i.
    const auto c = [&](int i, int j) {
        const Vector3& v = r[static_cast<std::size_t>(j)];
        return i == 0 ? v.x : i == 1 ? v.y : v.z;
    };
    const double trace = c(0, 0) + c(1, 1) + c(2, 2);
    double x, y, z, w;
    if (trace > 0) {
        const double s = std::sqrt(trace + 1.0) * 2;
        w = 0.25 * s;
        x = (c(2, 1) - c(1, 2)) / s;
        y = (c(0, 2) - c(2, 0)) / s;
        z = (c(1, 0) - c(0, 1)) / s;
    } else if (c(0, 0) > c(1, 1) && c(0, 0) > c(2, 2)) {
        const double s = std::sqrt(1.0 + c(0, 0) - c(1, 1) - c(2, 2)) * 2;
        w = (c(2, 1) - c(1, 2)) / s;
        x = 0.25 * s;
        y = (c(0, 1) + c(1, 0)) / s;
        z = (c(0, 2) + c(2, 0)) / s;
    } else if (c(1, 1) > c(2, 2)) {
        const double s = std::sqrt(1.0 + c(1, 1) - c(0, 0) - c(2, 2)) * 2;
        w = (c(0, 2) - c(2, 0)) / s;
        x = (c(0, 1) + c(1, 0)) / s;
        y = 0.25 * s;
        z = (c(1, 2) + c(2, 1)) / s;
    } else {
        const double s = std::sqrt(1.0 + c(2, 2) - c(0, 0) - c(1, 1)) * 2;
        w = (c(1, 0) - c(0, 1)) / s;
        x = (c(0, 2) + c(2, 0)) / s;
        y = (c(1, 2) + c(2, 1)) / s;
        z = 0.25 * s;
    }
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(length > 0) || !std::isfinite(length)) return {0, 0, 0, 1};
    if (w < 0) {
        x = -x;
        y = -y;
        z = -z;
        w = -w;
    }
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length),
            static_cast<float>(w / length)};
}

}  // namespace

Matrix4 Mirrored(const Matrix4& matrix)
{
    Matrix4 out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out.m[i * 4 + j] = kSign[i] * kSign[j] * matrix.m[i * 4 + j];
    return out;
}

std::array<float, 4> Rotation(const Quaternion& q)
{
    // The key's rotation matrix acts on row vectors: for column vectors it is
    // the conjugate's, and the mirror turns the axis' x and y over.
    const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(length > 0) || !std::isfinite(length)) return {0, 0, 0, 1};
    return {q.x / length, q.y / length, -q.z / length, q.w / length};
}

bool Finite(const Matrix4& matrix)
{
    return std::all_of(matrix.m.begin(), matrix.m.end(), [](float v) { return std::isfinite(v); });
}

Trs TrsOf(const Matrix4& matrix)
{
    Trs trs;
    const Matrix4 m = Mirrored(matrix);
    trs.translation = {m.m[12], m.m[13], m.m[14]};
    const MatrixParts parts = DecomposeMatrix(m);
    const std::array<Vector3, 3> rotation = Orthonormal(parts.rotationRows);
    trs.scale = parts.scale;
    trs.rotation = QuaternionOfRows(rotation);
    // Exact when the rotation rows were already orthonormal and the matrix is affine.
    for (int row = 0; row < 3; ++row) {
        const Vector3& a = parts.rotationRows[static_cast<std::size_t>(row)];
        const Vector3& b = rotation[static_cast<std::size_t>(row)];
        if (std::abs(a.x - b.x) > kTolerance || std::abs(a.y - b.y) > kTolerance || std::abs(a.z - b.z) > kTolerance)
            trs.exact = false;
    }
    const auto finite = [](const auto& values) {
        return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
    };
    if (!finite(trs.translation) || !finite(trs.rotation) || !finite(trs.scale)) {
        // Values too large for their squares: the identity, said as any other non-finite matrix.
        trs = Trs{};
        trs.finite = false;
        return trs;
    }
    if (std::abs(m.m[3]) > kTolerance || std::abs(m.m[7]) > kTolerance || std::abs(m.m[11]) > kTolerance ||
        std::abs(m.m[15] - 1) > kTolerance)
        trs.exact = false;
    return trs;
}

Matrix4 Affine(const Matrix4& matrix, bool& exact)
{
    const MatrixParts parts = DecomposeMatrix(matrix);
    const std::array<Vector3, 3> rows = Orthonormal(parts.rotationRows);
    Matrix4 out = matrix;
    exact = true;
    for (int row = 0; row < 3; ++row) {
        const Vector3& r = rows[static_cast<std::size_t>(row)];
        const float s = parts.scale[static_cast<std::size_t>(row)];
        const float values[3] = {s * r.x, s * r.y, s * r.z};
        for (int col = 0; col < 3; ++col) {
            if (std::abs(values[col] - matrix.m[row * 4 + col]) > kTolerance * std::max(1.0f, std::abs(s))) exact = false;
            out.m[row * 4 + col] = values[col];
        }
    }
    if (!Finite(out)) {
        exact = false;
        return Matrix4{};
    }
    if (matrix.m[3] != 0 || matrix.m[7] != 0 || matrix.m[11] != 0 || matrix.m[15] != 1) exact = false;
    out.m[3] = out.m[7] = out.m[11] = 0;
    out.m[15] = 1;
    return out;
}

}  // namespace gltf_export::axes
