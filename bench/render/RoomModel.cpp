#include "RoomModel.h"

#include "BenchFiles.h"

#include <array>
#include <cmath>
#include <string>

namespace render_bench {

namespace {

constexpr int kColumns = 13;  // crates per row; 10 rows
constexpr float kSpacing = 0.6f, kHalf = 0.2f;

struct Kind {
    const char* name;
    std::array<float, 4> diffuse;
    const char* texture;  // empty: untextured
};
// Textured and untextured kinds alternate, so that a texture bound for one
// crate is followed by an untextured material in the next.
constexpr std::array<Kind, 4> kKinds{{
    {"wood", {0.9f, 0.8f, 0.6f, 1}, "wood.ppm"},
    {"paint", {0.7f, 0.2f, 0.2f, 1}, ""},
    {"tiles", {0.8f, 0.8f, 0.9f, 1}, "tiles.ppm"},
    {"metal", {0.3f, 0.4f, 0.7f, 1}, ""},
}};

// A 16 x 16 checker of two colours, as a binary PPM.
std::string Checker(std::array<unsigned char, 3> a, std::array<unsigned char, 3> b)
{
    std::string bytes = "P6\n16 16\n255\n";
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const auto& c = ((x / 4 + y / 4) % 2 == 0) ? a : b;
            bytes.append(reinterpret_cast<const char*>(c.data()), 3);
        }
    return bytes;
}

MaterialRecord MaterialOf(const Kind& kind)
{
    MaterialRecord material;
    material.name = kind.name;
    material.colors.diffuse = kind.diffuse;
    material.colors.ambient = kind.diffuse;
    material.textureFile = kind.texture;
    return material;
}

// Appends crate `c` to `mesh`: a box (6 quads as 12 triangles, each side its
// own four vertices) on material `boxMaterial`, and a cap of 5 triangles
// around an apex on `capMaterial`.
void AddCrate(MeshRecord& mesh, int c, std::int32_t boxMaterial, std::int32_t capMaterial)
{
    const float cx = (static_cast<float>(c % kColumns) - (kColumns - 1) / 2.0f) * kSpacing;
    const float cz = (static_cast<float>(c / kColumns) - 4.5f) * kSpacing;
    const float height = kHalf * (1.0f + 0.5f * static_cast<float>(c % 3));
    auto vertex = [&](float x, float y, float z, float u, float v) {
        mesh.vertices.push_back({cx + x, y, cz + z});
        mesh.texCoords->push_back({u, v});
        return mesh.vertexCount() - 1;
    };
    auto triangle = [&](std::int32_t a, std::int32_t b, std::int32_t d, std::int32_t material) {
        const std::int32_t corners[] = {a, b, d};
        mesh.faces.Append(corners);
        mesh.faceMaterials->push_back(material);
    };
    // Each side: corners counter-clockwise seen from outside.
    const std::array<std::array<std::array<float, 3>, 4>, 6> sides{{
        {{{-1, 0, 1}, {1, 0, 1}, {1, 1, 1}, {-1, 1, 1}}},
        {{{1, 0, -1}, {-1, 0, -1}, {-1, 1, -1}, {1, 1, -1}}},
        {{{1, 0, 1}, {1, 0, -1}, {1, 1, -1}, {1, 1, 1}}},
        {{{-1, 0, -1}, {-1, 0, 1}, {-1, 1, 1}, {-1, 1, -1}}},
        {{{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
        {{{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}}},
    }};
    for (const auto& side : sides) {
        std::int32_t first = -1;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::int32_t v = vertex(side[k][0] * kHalf, side[k][1] * height, side[k][2] * kHalf,
                                          static_cast<float>(k == 1 || k == 2), static_cast<float>(k >= 2));
            if (k == 0) first = v;
        }
        triangle(first, first + 1, first + 2, boxMaterial);
        triangle(first, first + 2, first + 3, boxMaterial);
    }
    const std::int32_t apex = vertex(0, height + kHalf, 0, 0.5f, 0.5f);
    std::int32_t ring[5];
    for (int k = 0; k < 5; ++k) {
        const float a = 2 * 3.14159265f * static_cast<float>(k) / 5;
        ring[k] = vertex(kHalf * std::cos(a), height, -kHalf * std::sin(a), 0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a));
    }
    for (int k = 0; k < 5; ++k) triangle(apex, ring[k], ring[(k + 1) % 5], capMaterial);
}

MeshRecord EmptyMesh(const std::string& name)
{
    MeshRecord mesh;
    mesh.name = name;
    mesh.texCoords.emplace();
    mesh.faceMaterials.emplace();
    return mesh;
}

}  // namespace

void FillRoom(Model& model, const std::filesystem::path& folder, bool merged)
{
    WriteBytes(folder, "wood.ppm", Checker({200, 150, 90}, {120, 80, 40}));
    WriteBytes(folder, "tiles.ppm", Checker({240, 240, 240}, {60, 90, 160}));
    model.sourcePath = (folder / "room.x").string();
    if (merged) {
        MeshRecord mesh = EmptyMesh("room");
        for (const Kind& kind : kKinds) mesh.materials.push_back(MaterialOf(kind));
        for (int c = 0; c < kRoomMeshes; ++c) AddCrate(mesh, c, c % 4, (c + 1) % 4);
        model.meshes.push_back(std::move(mesh));
        return;
    }
    for (int c = 0; c < kRoomMeshes; ++c) {
        MeshRecord mesh = EmptyMesh("crate" + std::to_string(c));
        mesh.materials.push_back(MaterialOf(kKinds[static_cast<std::size_t>(c % 4)]));
        mesh.materials.push_back(MaterialOf(kKinds[static_cast<std::size_t>((c + 1) % 4)]));
        AddCrate(mesh, c, 0, 1);
        model.meshes.push_back(std::move(mesh));
    }
}

}  // namespace render_bench
