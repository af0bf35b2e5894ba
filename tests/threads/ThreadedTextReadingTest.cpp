// A text file read on several threads gives, bit for bit, the model and the
// messages it gives on one: the file read in parts, the lines found in parts,
// the long lists read in chunks, the first fault of the file reported.
#include "model/text/LineChunks.h"
#include "model/text/TextReader.h"
#include "ReadOnThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {

// A mesh in the shapes files take: comments of both kinds, blank lines, CRLF
// ends, tabs, a comment line longer than many parts of the split, faces of
// three to five corners with either separator, texture coordinates and a
// material list (with `quadsOnly`, every face a quad). `faults` lines replace
// the face lines of those numbers.
std::string MeshText(int vertices, int faces, const std::vector<std::pair<int, std::string>>& faults = {},
                     const std::vector<int>& badMaterials = {}, bool quadsOnly = false)
{
    std::string text = "xof 0303txt 0032\n// generated\n\nMesh grid {\n " + std::to_string(vertices) + ";\n";
    for (int v = 0; v < vertices; ++v) {
        text += "\t" + std::to_string(v % 97) + "." + std::to_string(v % 10) + ";-" + std::to_string(v / 7) + ".25;" +
                std::to_string(v % 3) + ";" + (v + 1 < vertices ? "," : ";") + (v % 5 == 0 ? "\r\n" : "\n");
        if (v == vertices / 2) text += "# " + std::string(9000, 'x') + "\n\n";
    }
    text += " " + std::to_string(faces) + ";\n";
    for (int f = 0; f < faces; ++f) {
        const char end = f + 1 < faces ? ',' : ';';
        std::string line;
        const int a = f % (vertices - 5);
        switch (quadsOnly ? 1 : f % 3) {
        case 0: line = "3;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + 2) + ";"; break;
        case 1: line = "4;" + std::to_string(a) + ";" + std::to_string(a + 3) + "," + std::to_string(a + 2) + "," + std::to_string(a + 1) + ";"; break;
        default: line = "5;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + 2) + "," + std::to_string(a + 3) + "," + std::to_string(a + 4) + ";"; break;
        }
        for (const auto& [at, replacement] : faults)
            if (at == f) line = replacement;
        text += "  " + line + end + "\n";
    }
    text += " MeshTextureCoords {\n  " + std::to_string(vertices) + ";\n";
    for (int v = 0; v < vertices; ++v)
        text += "  0." + std::to_string(v % 1000) + ";" + std::to_string(v % 2) + ".5;" + (v + 1 < vertices ? "," : ";") + "\n";
    // Many materials, so that the parts of the split end inside brace lines.
    constexpr int kMaterials = 400;
    text += " }\n MeshMaterialList {\n  " + std::to_string(kMaterials) + ";\n  " + std::to_string(faces) + ";\n";
    for (int f = 0; f < faces; ++f) {
        const bool bad = std::find(badMaterials.begin(), badMaterials.end(), f) != badMaterials.end();
        text += "  " + std::to_string(bad ? kMaterials + f : f % kMaterials) + (f + 1 < faces ? "," : ";") + "\n";
    }
    for (int m = 0; m < kMaterials; ++m)
        text += "  Material m" + std::to_string(m) + " {\n   0." + std::to_string(m % 10) +
                ";0.5;0.0;1.0;;\n   5.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n   TextureFilename { \"t" +
                std::to_string(m) + ".png\"; }\n  }\n";
    return text + " }\n}\n";
}

using testing_support::ExpectSame;
using testing_support::Read;
using testing_support::ReadOn;

// The file read from disk and from memory on `threads` threads.
std::pair<Read, Read> ReadBothOn(unsigned threads, const std::string& path, const std::string& text)
{
    return {ReadOn(threads, [&] { return ReadTextFile(path); }),
            ReadOn(threads, [&] { return ReadTextBytes(path, text); })};
}

// Reads the text on one thread (the reference, read in one pass) and on
// 2, 3 and 8, and expects the same from disk and from memory every time.
Read ExpectSameOnEveryThreadCount(const std::string& text)
{
    testing_support::TempDir folder;
    const std::string path = folder.Write("mesh.x", text);
    const auto [reference, fromMemory] = ReadBothOn(1, path, text);
    ExpectSame(fromMemory, reference, 1);
    for (const unsigned threads : {2u, 3u, 8u}) {
        const auto [fromDisk, fromBytes] = ReadBothOn(threads, path, text);
        ExpectSame(fromDisk, reference, threads);
        ExpectSame(fromBytes, reference, threads);
    }
    return reference;
}

TEST(ThreadedTextReading, GivesTheModelOfOneThread)
{
    const Read reference = ExpectSameOnEveryThreadCount(MeshText(3000, 2600));
    ASSERT_TRUE(reference.model);
    const MeshRecord& mesh = reference.model->meshes.at(0);
    EXPECT_EQ(mesh.vertices.size(), 3000u);
    EXPECT_EQ(mesh.faces.size(), 2600);
    EXPECT_EQ(mesh.faces[2].cornerCount, 5);
    EXPECT_EQ(mesh.faces[1].corners[1], 4);
    EXPECT_EQ(mesh.vertices[10].x, 10.0f);
    EXPECT_EQ(mesh.vertices[2999].y, -428.25f);
}

TEST(ThreadedTextReading, ReportsTheFirstFaultOfTheFile)
{
    // Faults in different chunks, the earliest last in the text of its kind:
    // each file is refused with the message of its first faulty line.
    const std::vector<std::vector<std::pair<int, std::string>>> files = {
        {{2400, "-1;"}, {1800, "3;0,1,9999;"}, {2500, "9;1,2;"}},
        {{2450, "9;1,2;"}, {2400, "-2;"}},
        {{2300, "4;1,2,3,-5;"}, {2301, "-1;"}},
    };
    for (const auto& faults : files) {
        const Read reference = ExpectSameOnEveryThreadCount(MeshText(3000, 2600, faults, {100}));
        EXPECT_FALSE(reference.model);
        ASSERT_EQ(reference.messages.size(), 1u);
    }
    // The face lines right, the material list wrong twice: the first named.
    const Read reference = ExpectSameOnEveryThreadCount(MeshText(3000, 2600, {}, {2500, 1200}));
    ASSERT_EQ(reference.messages.size(), 1u);
    EXPECT_NE(reference.messages[0].find("1600"), std::string::npos) << reference.messages[0];
}

TEST(ThreadedTextReading, FacesOfOneCornerCountGiveTheModelAndFaultsOfOneThread)
{
    // Quads throughout, each chunk writing where its corners go; then a
    // triangle late in the list, which sends the faces to the two passes,
    // with a fault before it and after it.
    using Faults = std::vector<std::pair<int, std::string>>;
    const Read quads = ExpectSameOnEveryThreadCount(MeshText(3000, 2600, {}, {}, true));
    ASSERT_TRUE(quads.model);
    EXPECT_EQ(quads.model->meshes.at(0).faces.cornerTotal(), 4u * 2600);
    const Read oneTriangle = ExpectSameOnEveryThreadCount(MeshText(3000, 2600, Faults{{2500, "3;7,8,9;"}}, {}, true));
    ASSERT_TRUE(oneTriangle.model);
    EXPECT_EQ(oneTriangle.model->meshes.at(0).faces[2500].corners[2], 9);
    for (const Faults& faults : {Faults{{1900, "4;1,2,3,9999;"}, {2500, "3;7,8,9;"}},
                                 Faults{{600, "3;7,8,9;"}, {2400, "-1;"}}, Faults{{0, "9;1,2;"}}}) {
        const Read refused = ExpectSameOnEveryThreadCount(MeshText(3000, 2600, faults, {}, true));
        EXPECT_FALSE(refused.model);
        ASSERT_EQ(refused.messages.size(), 1u);
    }
}

TEST(ThreadedTextReading, WorkBesideTheChunksRunsOnceAndTheFirstFaultWins)
{
    // Lists of no line, of one chunk and of many, on one thread and on two:
    // the work beside runs once, every element before the first fault is
    // read, and that fault is the one returned though a later chunk has one too.
    for (const unsigned threads : {1u, 2u}) {
        const platform::ScopedParallelThreadCount scoped(threads);
        for (const std::size_t count : {std::size_t{0}, std::size_t{100}, 5 * reading::kLinesPerChunk}) {
            std::atomic<int> besides{0};
            std::vector<char> read(count, 0);  // each element written by its own chunk only
            const std::optional<std::size_t> fault = reading::ReadLinesInChunksBeside<std::size_t>(
                count, [&] { ++besides; },
                [&](std::size_t, std::size_t) {
                    return [&](std::size_t element, std::size_t& fault) {
                        read[element] = 1;
                        fault = element;
                        return element != count / 2 && element + 3 != count;
                    };
                });
            EXPECT_EQ(besides.load(), 1) << count << " lines on " << threads;
            EXPECT_EQ(fault, count == 0 ? std::nullopt : std::optional(count / 2)) << count << " lines on " << threads;
            EXPECT_TRUE(std::all_of(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(count / 2),
                                    [](char seen) { return seen == 1; }));
        }
    }
}

}  // namespace
