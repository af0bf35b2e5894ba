// A compressed binary file whose objects are read while it inflates on
// another thread gives the model and the message of inflating it whole
// first, then reading it: a file that does not inflate is refused for that,
// even when its objects went wrong before the damage.
#include "model/binary/LittleEndian.h"
#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "model/file/ModelFile.h"
#include "ReadOnThreads.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::ExpectSame;
using testing_support::ReadOn;

// A binary mesh of some 60 KB: vertices, quads, texture coordinates and
// two materials.
Bytes BinaryMesh()
{
    constexpr int kSide = 40;
    std::string text = "xof 0303txt 0032\nMesh grid {\n " + std::to_string(kSide * kSide) + ";\n";
    for (int v = 0; v < kSide * kSide; ++v)
        text += std::to_string(v % kSide) + ".5;" + std::to_string(v / kSide) + ";0.25;" +
                (v + 1 < kSide * kSide ? ",\n" : ";\n");
    const int quads = (kSide - 1) * (kSide - 1);
    text += " " + std::to_string(quads) + ";\n";
    for (int q = 0; q < quads; ++q) {
        const int a = q / (kSide - 1) * kSide + q % (kSide - 1);
        text += "4;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + kSide + 1) + "," +
                std::to_string(a + kSide) + ";" + (q + 1 < quads ? ",\n" : ";\n");
    }
    text += " MeshTextureCoords {\n  " + std::to_string(kSide * kSide) + ";\n";
    for (int v = 0; v < kSide * kSide; ++v) text += "0." + std::to_string(v % 100) + ";0.5;" + (v + 1 < kSide * kSide ? ",\n" : ";\n");
    text += " }\n MeshMaterialList {\n  2;\n  " + std::to_string(quads) + ";\n";
    for (int q = 0; q < quads; ++q) text += std::to_string(q % 2) + (q + 1 < quads ? ",\n" : ";\n");
    text += "  Material { 1.0;0.0;0.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
            "  Material { 0.0;1.0;0.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n }\n}\n";
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadTextObjectsAnyLayout(text, document, error)) << error;
    return xfile::WriteBinary(document, 4);
}

// Offsets of the compressed blocks' headers.
std::vector<std::size_t> BlockStarts(const Bytes& compressed)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 20; at + 4 <= compressed.size(); at += 4 + xfile::detail::ReadLe16(&compressed[at + 2]))
        starts.push_back(at);
    return starts;
}

// Reads the file from disk and from memory on one thread (inflated whole,
// then read) and on 2 and 3, and expects the same every time.
testing_support::Read ExpectSameOnEveryThreadCount(const Bytes& compressed)
{
    testing_support::TempDir folder;
    const std::string bytes(compressed.begin(), compressed.end());
    const std::string path = folder.Write("mesh.x", bytes);
    const auto reference = ReadOn(1, [&] { return ReadModelFile(path); });
    for (const unsigned threads : {1u, 2u, 3u}) {
        ExpectSame(ReadOn(threads, [&] { return ReadModelFile(path); }), reference, threads);
        ExpectSame(ReadOn(threads, [&] { return ReadModelBytes(path, bytes); }), reference, threads);
    }
    return reference;
}

TEST(ThreadedCompressedReading, GivesTheModelOfInflatingFirst)
{
    const Bytes compressed = xfile::CompressMszip(BinaryMesh(), 700);
    ASSERT_GT(BlockStarts(compressed).size(), 50u);
    const auto reference = ExpectSameOnEveryThreadCount(compressed);
    ASSERT_TRUE(reference.model) << (reference.messages.empty() ? "" : reference.messages[0]);
    EXPECT_EQ(reference.model->meshes.at(0).vertices.size(), 1600u);
    EXPECT_EQ(reference.model->meshes.at(0).faces.size(), 39 * 39);
}

TEST(ThreadedCompressedReading, RefusesAsInflatingFirstWould)
{
    Bytes binary = BinaryMesh();
    Bytes unknownToken = binary;
    unknownToken[16] = 0xEE;  // the first token
    struct Case {
        const char* damage;
        Bytes file;
        const char* said;
    };
    std::vector<Case> cases;
    cases.push_back({"an unknown token, the file inflating well", xfile::CompressMszip(unknownToken, 700), "inconnu"});
    // The same token, then a block near the end without its signature: the
    // reader stops long before, but the file is refused for its block.
    Bytes lateDamage = xfile::CompressMszip(unknownToken, 700);
    lateDamage[BlockStarts(lateDamage).end()[-3] + 4] = 'X';
    cases.push_back({"a late block without its signature", lateDamage, "\"CK\""});
    // More bytes declared than the blocks give: the reader waits for bytes
    // that never come.
    Bytes longer = xfile::CompressMszip(binary, 700);
    longer[17] += 1;
    cases.push_back({"a declared size too large", longer, "moins que"});
    Bytes cut = xfile::CompressMszip(binary, 700);
    cut.resize(BlockStarts(cut).end()[-2] + 40);
    cases.push_back({"a file cut inside a block", cut, "compressé"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        const auto reference = ExpectSameOnEveryThreadCount(c.file);
        EXPECT_FALSE(reference.model);
        ASSERT_EQ(reference.messages.size(), 1u);
        EXPECT_NE(reference.messages[0].find(c.said), std::string::npos) << reference.messages[0];
    }
}

}  // namespace
