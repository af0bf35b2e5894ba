// A .glb read back with tinygltf's loader, and what the export tests (and
// the fuzz targets) hold every export to: the checks glTF's validator makes
// that an export could break, and the scene's pose at a time.
#pragma once

#include <tiny_gltf.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace export_check {

// The file read back, or what the loader said.
std::optional<tinygltf::Model> ReadGlb(const std::vector<std::uint8_t>& bytes, std::string& error);

// The first fault found, or empty: accessors within their views and views
// within the buffer, indices within the vertices, finite values, unit
// normals and rotations, weights summing to one, joints within the skin,
// animation times increasing, no matrix on a node an animation moves, every
// index to a node, mesh, material, texture, image, skin or accessor valid.
std::string Faults(const tinygltf::Model& gltf);

// A column-major 4x4 matrix.
using Matrix = std::array<double, 16>;
Matrix Multiply(const Matrix& a, const Matrix& b);
std::array<double, 3> Transform(const Matrix& m, const std::array<double, 3>& p);

// Every node's world matrix with animation `animation` (or none, -1) at `seconds`.
std::vector<Matrix> WorldMatrices(const tinygltf::Model& gltf, int animation, double seconds);

// An accessor's values as floats (components per element as its type says).
std::vector<float> Floats(const tinygltf::Model& gltf, int accessor);
std::vector<std::uint32_t> Integers(const tinygltf::Model& gltf, int accessor);

}  // namespace export_check
