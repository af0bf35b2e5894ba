#include "model/Model.h"
#include "render/LoadedModel.h"
#include "report/Report.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// The one-triangle model of a version 0302 file with Header 1, 0, 1, as it
// stands after loading: normals computed, one default "unnamed" material.
void FillTriangleModel(Model& model)
{
    model.versionMajor = 3;
    model.versionMinor = 2;
    model.formatType = "txt";
    model.floatSize = 32;
    model.headerMajor = 1;
    model.headerMinor = 0;
    model.headerFlags = 1;
    MeshRecord mesh;
    mesh.name = "Tri";
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const std::int32_t corners[] = {0, 1, 2};
    mesh.faces.Append(corners);
    mesh.normals = MeshRecord::VertexList(3, Vector3{0, 0, 1});
    mesh.faceMaterials = MeshRecord::FaceMaterialList{0};
    mesh.materials.emplace_back();
    mesh.materials[0].name = "unnamed";
    model.meshes.push_back(std::move(mesh));
}

const char* const kTriangleReport =
    "\n"
    "MeshInfos 1\n"
    "Version : 0302\n"
    "type : txt\n"
    "float : 0032\n"
    "Header : 1.0.1\n"
    "Nb de vertrices : 3\n"
    "p1 : x:0.000000, y:0.000000, z:0.000000\n"
    "p2 : x:1.000000, y:0.000000, z:0.000000\n"
    "p3 : x:0.000000, y:1.000000, z:0.000000\n"
    "Nb de faces : 1\n"
    "f1 : nb:3; p1:0 p2:1 p3:2\n"
    "Nb de normales : 3\n"
    "n1 : x:0.000000, y:0.000000, z:1.000000\n"
    "n2 : x:0.000000, y:0.000000, z:1.000000\n"
    "n3 : x:0.000000, y:0.000000, z:1.000000\n"
    "Nb de materiel : 1, Nb materiel/face : 1\n"
    "m1: 0\n"
    "unnamed 1:\n"
    "amb : r:1.000000 g:1.000000 b:1.000000 a:1.000000\n"
    "diff : r:1.000000 g:1.000000 b:1.000000 a:1.000000\nspec : r:0.000000 g:0.000000 b:0.000000\n"
    "emi : r:0.000000 g:0.000000 b:0.000000\n"
    "power : p:5.000000\n"
    "texture : \n";

TEST(TextReport, WritesEveryBlockOfAMeshInOrder)
{
    Model model;
    FillTriangleModel(model);
    testing_support::TempDir dir;
    const std::string path = (dir.path() / "report").string();  // no extension is added
    report::SaveText(model, path);
    EXPECT_EQ(testing_support::ReadFileBytes(path), kTriangleReport);

    // Saving again replaces the file rather than appending to it.
    report::SaveText(model, path);
    EXPECT_EQ(testing_support::ReadFileBytes(path), kTriangleReport);
}

TEST(TextReport, OptionalBlocksFollowWhatTheMeshHas)
{
    Model model;
    FillTriangleModel(model);
    MeshRecord& mesh = model.meshes[0];
    mesh.texCoords = MeshRecord::TexCoordList{{0.5f, 0.25f}};
    mesh.normals.reset();
    mesh.materials[0].textureFile = "wood.png";
    mesh.materials[0].name = "Wood";
    mesh.materials[0].colors.specular = {0.25f, 0.5f, 0.75f, 1};
    mesh.materials[0].colors.emissive = {0.125f, 0.375f, 0.625f, 1};
    mesh.materials.emplace_back();  // two materials, one face
    mesh.materials[1].name = "Other";

    testing_support::TempDir dir;
    const std::string path = dir.Write("report.txt", "old contents that must go");
    report::SaveText(model, path);
    const std::string text = testing_support::ReadFileBytes(path);
    EXPECT_NE(text.find("Nb de faces : 1\nf1 : nb:3; p1:0 p2:1 p3:2\nNb de CoordTextures : 1\nt1 : u:0.500000, v:0.250000\n"
                        "Nb de materiel : 2, Nb materiel/face : 1\nm1: 0\nWood 1:\namb"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Nb de normales"), std::string::npos);
    // The specular line's values, then the emissive line.
    EXPECT_NE(text.find(" : r:0.250000 g:0.500000 b:0.750000\nemi : r:0.125000 g:0.375000 b:0.625000\n"
                        "power : p:5.000000\ntexture : wood.png\nOther 2:\n"),
              std::string::npos)
        << text;
}

TEST(TextReport, EmptyModelGivesAnEmptyFileAndAnUnwritablePathNothing)
{
    Model model;
    testing_support::TempDir dir;
    const std::string path = (dir.path() / "empty.txt").string();
    testing_support::MessageRecorder recorder;
    report::SaveText(model, path);
    EXPECT_EQ(testing_support::ReadFileBytes(path), "");
    FillTriangleModel(model);
    report::SaveText(model, (dir.path() / "missing-folder" / "x.txt").string());
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(TextReport, AReportThatCannotBeWrittenWholeLeavesTheEarlierFile)
{
    Model model;
    for (int copy = 0; copy < 100; ++copy) FillTriangleModel(model);  // some 80 kB of report
    testing_support::TempDir dir;
    const std::string path = dir.path() / "report.txt";
    const std::string earlier = "an earlier report";
    dir.Write("report.txt", earlier);
    {
        const testing_support::ScopedFileSizeLimit limit(4096);
        EXPECT_EQ(report::SaveText(model, path), std::strerror(EFBIG));
    }
    EXPECT_EQ(testing_support::ReadFileBytes(path), earlier);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_EQ(report::SaveText(model, path), "");
    const std::string whole = (dir.path() / "whole.txt").string();
    std::FILE* out = std::fopen(whole.c_str(), "w");
    ASSERT_NE(out, nullptr);
    report::WriteTextReport(model, out);
    std::fclose(out);
    EXPECT_EQ(testing_support::ReadFileBytes(path), testing_support::ReadFileBytes(whole));
}

TEST(InfoBoxes, OneBoxPerMeshWithItsNameAndCounts)
{
    Model model;
    FillTriangleModel(model);
    MeshRecord second;
    second.name = "Second";
    model.meshes.push_back(std::move(second));
    testing_support::MessageRecorder recorder;
    report::ShowInfo(model);
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages()[0].text,
              "\nMeshInfos n°1 : Tri\nVersion : 0302\ntype : txt\nfloat : 0032\nHeader : 1.0.1\nVertexes : 3, Faces : 1");
    EXPECT_EQ(recorder.messages()[0].caption, "Infos Mesh");
    EXPECT_EQ(recorder.messages()[0].kind, platform::MessageKind::Plain);
    EXPECT_EQ(recorder.messages()[1].text.substr(0, 24), "\nMeshInfos n°2 : Second");

    Model empty;
    report::ShowInfo(empty);
    EXPECT_EQ(recorder.messages().size(), 2u);
}

}  // namespace

namespace {

// The same triangle, read from its file and prepared by the whole load.
TEST(TextReport, LoadedFileGivesTheReportOfItsPreparedMeshes)
{
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    const Model& model = loaded.model;
    ASSERT_EQ(loaded.LoadFromMemory("tri.x",
                                   "xof 0302txt 0032\n"
                                   "Header {\n 1;\n 0;\n 1;\n}\n"
                                   "Mesh Tri {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n"
                                   " 1;\n 3;0,1,2;;\n}\n"),
              S_OK);
    testing_support::TempDir dir;
    const std::string path = (dir.path() / "tri.txt").string();
    report::SaveText(model, path);
    EXPECT_EQ(testing_support::ReadFileBytes(path), kTriangleReport);
}

// Textures are read even without any OpenGL context (as the report tool may
// run): nothing is uploaded and nothing breaks.
TEST(TextReport, LoadWithoutAContextKeepsGoing)
{
    testing_support::MessageRecorder recorder;
    LoadedModel loaded;
    EXPECT_EQ(loaded.Load(testing_support::SamplePath("cube.x")), S_OK);
    EXPECT_EQ(loaded.model.meshCount(), 1);
    EXPECT_EQ(loaded.model.meshes[0].faceCount(), 12);
}

}  // namespace
