#include "model/Model.h"
#include "model/SelectionOrder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <random>

namespace {

MeshRecord MeshWithOpacity(const char* name, float opacity)
{
    MeshRecord mesh;
    mesh.name = name;
    mesh.opacity = opacity;
    mesh.faceMaterials = MeshRecord::FaceMaterialList{};
    mesh.materials.emplace_back();
    return mesh;
}

TEST(ModelRecords, SortsMeshesByOpacityHighestFirstLikeASelectionSort)
{
    Model model;
    model.meshes.push_back(MeshWithOpacity("m0", 0.5f));
    model.meshes.push_back(MeshWithOpacity("m1", 1.0f));
    model.meshes.push_back(MeshWithOpacity("m2", 0.5f));
    model.meshes.push_back(MeshWithOpacity("m3", 1.0f));
    model.SortMeshesByOpacity();
    ASSERT_EQ(model.meshes.size(), 4u);
    EXPECT_EQ(model.meshes[0].name, "m1");
    EXPECT_EQ(model.meshes[1].name, "m3");
    EXPECT_EQ(model.meshes[2].name, "m2");
    EXPECT_EQ(model.meshes[3].name, "m0");
}

// The sort as a plain selection sort does it, swapping items.
std::vector<std::size_t> NaiveSelectionOrder(const std::vector<float>& keys)
{
    std::vector<std::size_t> items(keys.size());
    std::iota(items.begin(), items.end(), std::size_t{0});
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < items.size(); ++j)
            if (keys[items[j]] > keys[items[best]]) best = j;
        std::swap(items[i], items[best]);
    }
    return items;
}

TEST(ModelRecords, OpacityOrderIsTheSelectionSortsOrderTiesIncluded)
{
    std::mt19937 random(20261208);
    const float values[] = {0.0f, 0.25f, 0.5f, 1.0f, std::numeric_limits<float>::quiet_NaN()};
    for (int round = 0; round < 2000; ++round) {
        std::vector<float> keys(random() % 40);
        const std::size_t kinds = round % 2 == 0 ? 3 : 5;  // every other round with NaN among them
        for (float& key : keys) key = values[random() % kinds];
        const std::vector<std::size_t> expected = NaiveSelectionOrder(keys);
        ASSERT_EQ(SelectionSortOrder(keys), expected) << "round " << round;

        // The model moves its meshes into that order.
        Model model;
        for (std::size_t k = 0; k < keys.size(); ++k)
            model.meshes.push_back(MeshWithOpacity(std::to_string(k).c_str(), keys[k]));
        model.SortMeshesByOpacity();
        for (std::size_t k = 0; k < keys.size(); ++k)
            ASSERT_EQ(model.meshes[k].name, std::to_string(expected[k])) << "round " << round;
    }
}

TEST(ModelRecords, AStoredMeshGetsAMaterialListThatCoversItsFaces)
{
    MeshRecord source;
    source.name = "box";
    source.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const std::int32_t corners[] = {0, 1, 2};
    source.faces.Append(corners);
    source.faces.Append(corners);

    MeshRecord stored = source;
    stored.CompleteMaterialList();
    EXPECT_EQ(stored.name, "box");
    EXPECT_EQ(stored.faceCount(), 2);
    ASSERT_EQ(stored.materialCount(), 1);
    EXPECT_EQ(stored.materials[0].name, "unnamed");
    EXPECT_EQ(stored.materials[0].colors, MaterialColors{});
    EXPECT_TRUE(stored.materials[0].textureFile.empty());
    EXPECT_EQ(*stored.faceMaterials, (MeshRecord::FaceMaterialList{0, 0}));

    // A list that does not cover the faces puts them all on material 0, its materials kept.
    source.materials.resize(2);
    source.faceMaterials = MeshRecord::FaceMaterialList{1};
    source.CompleteMaterialList();
    EXPECT_EQ(source.materialCount(), 2);
    EXPECT_EQ(*source.faceMaterials, (MeshRecord::FaceMaterialList{0, 0}));
}

TEST(ModelRecords, MaterialColorsDescribeThemselvesOnFiveLines)
{
    MaterialColors colors;
    EXPECT_EQ(colors.Describe(),
              "amb : r:1.000000 g:1.000000 b:1.000000 a:1.000000\n"
              "diff : r:1.000000 g:1.000000 b:1.000000 a:1.000000\nspec : r:0.000000 g:0.000000 b:0.000000\n"
              "emi : r:0.000000 g:0.000000 b:0.000000\n"
              "power : p:5.000000");
}

}  // namespace
