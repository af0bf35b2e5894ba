// Every file of the corpus, read as it is and compared with the
// figures its EXPECTED.tsv gives.
#include "model/file/ModelFile.h"
#include "CorpusTable.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

using testing_support::CorpusRow;
using testing_support::SplitAt;

std::string RowName(const testing::TestParamInfo<CorpusRow>& info)
{
    std::string name = info.param.file;
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class CorpusReading : public testing::TestWithParam<CorpusRow> {};

TEST(CorpusExpectations, ListEveryModelOfTheCorpus)
{
    EXPECT_EQ(testing_support::ReadCorpusTable().size(), 13u);
}

TEST_P(CorpusReading, ReadsAsExpected)
{
    const CorpusRow& row = GetParam();
    testing_support::MessageRecorder recorder;
    const std::optional<Model> result =
        testing_support::ShowingRefusal(ReadModelFile(testing_support::CorpusPath(row.file)));

    if (row.status == "refused:header") {
        EXPECT_FALSE(result);
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text, "Ce faichier n'est pas un fichier DirectX .X txt");
        EXPECT_EQ(recorder.messages()[0].caption, "Erreur");
        return;
    }
    ASSERT_EQ(row.status, "loaded");
    ASSERT_TRUE(result);
    const Model& model = *result;
    EXPECT_TRUE(recorder.messages().empty());

    ASSERT_EQ(row.columns.size(), 7u);
    EXPECT_EQ(model.meshCount(), std::stoi(row.columns[0]));

    std::int64_t vertices = 0, triangles = 0, materials = 0;
    Vector3 low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vector3 high{-low.x, -low.y, -low.z};
    for (const MeshRecord& mesh : model.meshes) {
        vertices += mesh.vertexCount();
        materials += mesh.materialCount();
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) triangles += std::max(1, mesh.faces[f].cornerCount - 2);
        EXPECT_EQ(mesh.faceMaterialCount(), mesh.faceCount()) << mesh.name;
        for (const Vector3& v : mesh.vertices) {
            low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
            high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
        }
    }
    EXPECT_EQ(vertices, std::stoll(row.columns[1]));
    EXPECT_EQ(triangles, std::stoll(row.columns[2]));
    EXPECT_EQ(materials, std::stoll(row.columns[3]));
    EXPECT_EQ(model.CountTexturedMaterials(), std::stoi(row.columns[4]));

    const auto box = SplitAt(row.columns[5], ',');
    ASSERT_EQ(box.size(), 6u);
    const float read[6] = {low.x, low.y, low.z, high.x, high.y, high.z};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(read[k], std::stof(box[k]), 1e-6) << "bounding box value " << k;

    const auto meshes = SplitAt(row.columns[6], ';');
    ASSERT_EQ(meshes.size(), model.meshes.size());
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        // name:vertices:faces as read:materials:opacity; the name may hold ":"
        auto parts = SplitAt(meshes[m], ':');
        ASSERT_GE(parts.size(), 5u);
        const MeshRecord& mesh = model.meshes[m];
        const std::size_t n = parts.size();
        std::string name = parts[0];
        for (std::size_t k = 1; k + 4 < n; ++k) name += ":" + parts[k];
        EXPECT_EQ(mesh.name, name);
        EXPECT_EQ(mesh.vertexCount(), std::stoi(parts[n - 4])) << name;
        EXPECT_EQ(mesh.faceCount(), std::stoi(parts[n - 3])) << name;
        EXPECT_EQ(mesh.materialCount(), std::stoi(parts[n - 2])) << name;
        EXPECT_FLOAT_EQ(mesh.opacity, std::stof(parts[n - 1])) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReading, testing::ValuesIn(testing_support::ReadCorpusTable()), RowName);

}  // namespace
