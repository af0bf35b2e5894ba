// The binary and compressed files of the corpus against their text twin, and
// twins the writers make of a text file.
#include "DocumentDifference.h"

#include "TestSupport.h"
#include "model/binary/BinaryObjects.h"
#include "model/binary/Mszip.h"
#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes CorpusFile(const std::string& name)
{
    const std::string bytes = testing_support::ReadFileBytes(testing_support::CorpusPath("assimp/" + name));
    return Bytes(bytes.begin(), bytes.end());
}

xfile::Document FromText(const Bytes& text)
{
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadTextObjectsAnyLayout(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                                       document, error))
        << error;
    return document;
}

xfile::Document FromBinary(const Bytes& file)
{
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadBinaryObjects(file, document, error)) << error;
    return document;
}

Bytes Inflated(const Bytes& file)
{
    xfile::FileBytes inflated;
    std::string error;
    EXPECT_TRUE(xfile::InflateMszip(file, inflated, error)) << error;
    return Bytes(inflated.begin(), inflated.end());
}

// The text prints six decimals of the floats the binary files hold exactly.
constexpr float kPrinted = 1e-6f;

TEST(CorpusTwins, CubeBinaryAndCompressedHoldTheObjectsOfTheText)
{
    const Bytes binary = CorpusFile("test_cube_binary.x");
    const Bytes inflated = Inflated(CorpusFile("test_cube_compressed.x"));
    // The compressed cube is the binary cube, byte for byte.
    EXPECT_EQ(inflated, binary);

    const xfile::Document text = FromText(CorpusFile("test_cube_text.x"));
    EXPECT_EQ(xfile_testing::FirstDifference(text, FromBinary(binary), kPrinted), "");
    EXPECT_EQ(xfile_testing::FirstDifference(text, FromBinary(inflated), kPrinted), "");

    // What the cube holds, as the viewer will want it.
    ASSERT_EQ(text.roots.size(), 3u);
    const xfile::DataObject* mesh = nullptr;
    for (const xfile::DataObject& object : text.objects)
        if (object.type == "Mesh") mesh = &object;
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name, "Cube");
    const auto parts = text.PartsOf(*mesh);
    ASSERT_GE(parts.size(), 3u);
    EXPECT_EQ(text.IntegersOf(parts[0])[0], 24u);
    EXPECT_EQ(text.FloatsOf(parts[1]).size(), 72u);
    EXPECT_EQ(text.IntegersOf(parts[2]).size(), 1u + 12 * 4);
    const xfile::DataObject& list = *text.ObjectOf(parts[6]);
    ASSERT_EQ(list.type, "MeshMaterialList");
    EXPECT_EQ(text.ReferencesOf(text.PartsOf(list)[1])[0].name, "Material");
}

TEST(CorpusTwins, TrueSpaceMeshReadsWhole)
{
    const xfile::Document read = FromBinary(CorpusFile("fromtruespace_bin32.x"));
    ASSERT_EQ(read.roots.size(), 2u);
    EXPECT_EQ(read.objects[read.roots[0]].type, "Header");
    const xfile::DataObject& mesh = read.objects[3];
    ASSERT_EQ(mesh.type, "Mesh");
    EXPECT_EQ(mesh.name, "FeedTheDinoGPUMesh");
    const auto parts = read.PartsOf(mesh);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(read.IntegersOf(parts[0])[0], 4132u);
    EXPECT_EQ(read.FloatsOf(parts[1]).size(), 3u * 4132);
    const auto faces = read.IntegersOf(parts[2]);
    EXPECT_EQ(faces[0], 6656u);
    EXPECT_EQ(faces.size(), 1u + 6656 * 4);
    const xfile::DataObject& list = *read.ObjectOf(parts[5]);
    EXPECT_EQ(list.type, "MeshMaterialList");
    const auto slots = read.PartsOf(list);
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(read.IntegersOf(slots[0]).size(), 2u + 6656);
    EXPECT_EQ(read.ObjectOf(slots[1])->name, "FeedTheDinoGPUMaterial_0_0");
}

TEST(CorpusTwins, WrittenTwinsOfTextFilesReadBackTheSame)
{
    // Files of every shape: many objects, animations, numbers that alternate
    // between integers and floats, a large mesh.
    for (const char* name : {"assimp/test_cube_text.x", "assimp/Testwuson.X", "assimp/anim_test.x",
                             "minetest_game/character.x", "irrlicht/earth.x"}) {
        const std::string bytes = testing_support::ReadFileBytes(testing_support::CorpusPath(name));
        const Bytes text(bytes.begin(), bytes.end());
        const xfile::Document objects = FromText(text);
        ASSERT_FALSE(objects.objects.empty()) << name;
        for (const unsigned floatBytes : {4u, 8u}) {
            const Bytes binary = xfile::WriteBinary(objects, floatBytes);
            EXPECT_EQ(xfile_testing::FirstDifference(objects, FromBinary(binary)), "") << name << floatBytes;
            const Bytes compressed = xfile::CompressMszip(binary, 700);
            EXPECT_EQ(xfile_testing::FirstDifference(objects, FromBinary(Inflated(compressed))), "") << name;
        }
        EXPECT_EQ(Inflated(xfile::CompressMszip(text, 1000)), text) << name;
    }
}

}  // namespace
