// The walk over a file: first line, comments, braces, blocks and traces.
#include "ReaderFixture.h"
#include "ShowingRefusal.h"

namespace {

constexpr const char* kHeaderRefused = "Ce faichier n'est pas un fichier DirectX .X txt";
constexpr const char* kBracesRefused = "Erreur de chargement, les bloques {} ne sont pas valide.";

TEST_F(ReaderTest, AcceptsATextFirstLineWhateverItsCase)
{
    ASSERT_EQ(ReadWhole("XOF 0302TXT 0064\n"), S_OK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.versionMajor, 3);
    EXPECT_EQ(model.versionMinor, 2);
    EXPECT_EQ(model.formatType, "txt");
    EXPECT_EQ(model.floatSize, 64);
    EXPECT_EQ(model.meshCount(), 0);
    EXPECT_EQ(model.CountTexturedMaterials(), 0);
}

TEST(TextReaderHeader, RefusesAnythingButTheTextForm)
{
    for (const char* text : {"xof 0303bin 0032\n", "xof 0303txt\n", "xof 0303tx 0032\n", "xo 0303txt 0032\n",
                             "", "\n  \n# nothing\n", "Mesh {\n}\nxof 0303txt 0032\n"}) {
        testing_support::MessageRecorder recorder;
        EXPECT_FALSE(testing_support::ShowingRefusal(ReadTextBytes("t.x", text))) << text;
        ASSERT_EQ(recorder.messages().size(), 1u) << text;
        EXPECT_EQ(recorder.messages()[0].text, kHeaderRefused);
        EXPECT_EQ(recorder.messages()[0].caption, "Erreur");
        EXPECT_EQ(recorder.messages()[0].kind, platform::MessageKind::Warning);
    }
}

TEST_F(ReaderTest, SkipsCommentsAndBlankLinesEvenBeforeTheFirstLine)
{
    // "/x stays" is no comment: it names the block whose brace stands below it.
    ASSERT_EQ(ReadWhole("\n  # made by hand\r\n// again\n\t \n  xof 0303txt 0032  \r\n/x stays\n{\n}\n" +
                        TriangleMesh("T")),
              S_OK);
    EXPECT_EQ(traces(), "/x\nMesh\n");
    EXPECT_EQ(OnlyMesh().vertexCount(), 3);

    // Messages count every line of the file, comments and blank lines included.
    EXPECT_EQ(ReadWhole("\n# c\n\nxof 0303txt 0032\n// c\nMesh Box {\n -3;\n}\n"), E_FAIL);
    ExpectOneError("Erreur de chargement, le nombre d'éléments (-3) de l'objet Mesh \"Box\" à la ligne 7 est négatif. "
                   "Model::ReadMesh");
}

TEST_F(ReaderTest, OpensAMeshBlockWithItsBraceOnTheSameLineOrBelow)
{
    const std::string below = "Mesh Below\n{\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;2;0;;\n 1;\n 3;2,1,0;;\n}\n";
    ASSERT_EQ(Read(TriangleMesh("Same") + below), S_OK);
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[0].name, "Same");
    // The reader is given the brace line, so the name on the line above is not seen.
    EXPECT_EQ(model.meshes[1].name, "Unnamed");
    EXPECT_EQ(model.meshes[1].vertexCount(), 3);
    EXPECT_EQ(model.meshes[1].vertices[2].y, 2.0f);
    EXPECT_EQ(model.meshes[1].faces[0].corners[0], 2);
    EXPECT_EQ(traces(), "Mesh\nMesh\n");
}

TEST_F(ReaderTest, ResolvesReferencesOnlyInsideAMaterialList)
{
    const std::string body =
        "Material Red {\n 1.0;0.0;0.0;0.5;;\n 8.0;\n 0.1;0.2;0.3;;\n 0.0;0.0;0.0;;\n TextureFilename {\n \"red.png\";\n }\n}\n"
        "Frame F {\n { Red }\n" +
        TriangleMesh("Plain", " { Red }\n") +
        TriangleMesh("Listed", " MeshMaterialList {\n 1;\n 1;\n 0;;\n { Red }\n }\n") + "}\n";
    ASSERT_EQ(Read(body), S_OK);
    ASSERT_EQ(model.meshes.size(), 2u);

    // Sorted by opacity: the mesh without the reference stays opaque.
    const MeshRecord& plain = model.meshes[0];
    EXPECT_EQ(plain.name, "Plain");
    EXPECT_EQ(plain.opacity, 1.0f);
    ASSERT_EQ(plain.materialCount(), 1);
    EXPECT_EQ(plain.materials[0].name, "unnamed");

    const MeshRecord& listed = model.meshes[1];
    EXPECT_EQ(listed.name, "Listed");
    EXPECT_EQ(listed.opacity, 0.5f);
    ASSERT_EQ(listed.materialCount(), 1);
    EXPECT_EQ(listed.materials[0].name, "Unnamed");  // a reference copies no name
    EXPECT_EQ(listed.materials[0].textureFile, "red.png");
    EXPECT_EQ(listed.materials[0].colors, model.sharedMaterials[0].colors);
    EXPECT_EQ(model.CountTexturedMaterials(), 1);
}

TEST_F(ReaderTest, ALineOfTwoClosingBracesClosesOneBlock)
{
    ASSERT_EQ(Read("Frame F {\n Mesh M {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n}}\n}\n"), S_OK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(OnlyMesh().name, "M");
    EXPECT_EQ(OnlyMesh().faceCount(), 1);
}

TEST_F(ReaderTest, RefusesUnbalancedBraces)
{
    EXPECT_EQ(Read("Frame F {\n Frame G {\n}\n"), E_FAIL);
    ExpectOneError(kBracesRefused);
}

TEST_F(ReaderTest, KeepsEverySharedMaterialWhereverItStands)
{
    ASSERT_EQ(Read(TriangleMesh("A", "MeshMaterialList {\n 1;\n 1;\n 0;;\n Material Inline {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n "
                                     "0;0;0;;\n }\n}\n")),
              S_OK);
    EXPECT_TRUE(model.sharedMaterials.empty());
    EXPECT_EQ(OnlyMesh().materials.at(0).name, "Inline");

    ASSERT_EQ(Read("Material A {\n 1;1;1;1;;\n}\nmaterial B {\n 1;1;1;1;;\n}\n" + TriangleMesh("M") +
                   "Material C {\n 1;1;1;1;;\n}\n"),
              S_OK);
    ASSERT_EQ(model.sharedMaterials.size(), 3u);
    EXPECT_EQ(model.sharedMaterials[1].name, "B");
    EXPECT_EQ(model.sharedMaterials[2].name, "C");

    // Clearing leaves nothing of the model.
    model.Clear();
    EXPECT_TRUE(model.sharedMaterials.empty() && model.meshes.empty());
    EXPECT_EQ(model.meshCount(), 0);
    EXPECT_TRUE(model.sourcePath.empty() && model.formatType.empty());
}

TEST_F(ReaderTest, TracesEveryBlockAndTheWordsItDoesNotRead)
{
    const std::string body = "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n DWORD nVertices;\n}\n"
                             "frame Root {\n FrameTransformMatrix {\n 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n" +
                             TriangleMesh("Inner", " MeshNormals {\n 1;\n 0;0;1;;\n 1;\n 3;0,0,0;;\n }\n") + "}\n";
    ASSERT_EQ(Read(body), S_OK);
    EXPECT_EQ(traces(),
              "template\nID non-reconnu : template\n"
              "frame\nID non-reconnu : Frame\n"
              "FrameTransformMatrix\nID non-reconnu : FrameTransformMatrix\n"
              "Mesh\nMeshNormals\n");
    // The mesh inside the frame is read; its normals are not.
    EXPECT_EQ(OnlyMesh().name, "Inner");
    EXPECT_EQ(OnlyMesh().normalCount(), 0);
    EXPECT_EQ(OnlyMesh().faceCount(), 1);
    EXPECT_EQ(model.meshCount(), 1);  // "template Mesh" is a template, not a mesh
}

TEST_F(ReaderTest, UnknownBlocksAreWalkedAndSkipped)
{
    ASSERT_EQ(Read("AnimationSet {\n Animation {\n {Inner}\n AnimationKey {\n 0;\n 1;\n 0;3;0,0,0;;;\n }\n }\n}\n"
                   "VendorThing {\n 1;\n}\n" +
                   TriangleMesh("M")),
              S_OK);
    EXPECT_EQ(traces(),
              "AnimationSet\nID non-reconnu : AnimationSet\nAnimation\nID non-reconnu : Animation\n"
              // "{Inner}" begins with a brace: the line above names it
              "Animation\nID non-reconnu : Animation\n"
              "AnimationKey\nID non-reconnu : AnimationKey\nVendorThing\nMesh\n");
    EXPECT_EQ(OnlyMesh().name, "M");
}

TEST_F(ReaderTest, StoresMeshesByOpacityHighestFirst)
{
    auto withOpacity = [](const char* name, const char* alpha) {
        return TriangleMesh(name, std::string("MeshMaterialList {\n 1;\n 1;\n 0;;\n Material {\n 1;1;1;") + alpha +
                                      ";;\n 1;\n 0;0;0;;\n 0;0;0;;\n }\n}\n");
    };
    ASSERT_EQ(Read(withOpacity("m0", "0.5") + withOpacity("m1", "1.0") + withOpacity("m2", "0.5") +
                   withOpacity("m3", "1.0")),
              S_OK);
    ASSERT_EQ(model.meshes.size(), 4u);
    EXPECT_EQ(model.meshes[0].name, "m1");
    EXPECT_EQ(model.meshes[1].name, "m3");
    EXPECT_EQ(model.meshes[2].name, "m2");
    EXPECT_EQ(model.meshes[3].name, "m0");
    EXPECT_EQ(model.meshes[3].opacity, 0.5f);
}

TEST_F(ReaderTest, ReadsTheFileFromDiskAndRemembersItsPath)
{
    testing_support::TempDir folder;
    const std::string path = folder.Write("cube.x", std::string(kFirstLine) + TriangleMesh("OnDisk"));
    ASSERT_EQ(ReadPath(path), S_OK);
    EXPECT_EQ(model.sourcePath, path);
    EXPECT_EQ(OnlyMesh().name, "OnDisk");

    EXPECT_EQ(ReadPath((folder.path() / "none.x").string()), E_FAIL);
    EXPECT_EQ(ReadPath(folder.path().string()), E_FAIL);  // a folder
    EXPECT_TRUE(messages().empty());  // the caller reports a file it cannot open
}

TEST_F(ReaderTest, ReadsTheBundledSample)
{
    ASSERT_EQ(ReadPath(testing_support::SamplePath("cube.x")), S_OK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.headerMajor, 1);
    EXPECT_EQ(model.headerFlags, 1);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].vertexCount(), 24);
    const MeshRecord& cube = model.meshes[0];
    EXPECT_EQ(cube.faceCount(), 6);
    EXPECT_EQ(*cube.faceMaterials, (MeshRecord::FaceMaterialList{0, 0, 1, 1, 0, 1}));
    ASSERT_EQ(cube.materialCount(), 2);
    EXPECT_EQ(cube.materials[0].name, "Wood");
    EXPECT_EQ(cube.materials[0].textureFile, "pelmora.ppm");
    EXPECT_EQ(cube.materials[0].colors.power, 10.0f);
    EXPECT_EQ(cube.materials[1].name, "Unnamed");
    EXPECT_EQ(cube.materials[1].colors, model.sharedMaterials.at(0).colors);
    EXPECT_EQ(cube.texCoordCount(), 24);
    EXPECT_EQ((*cube.texCoords)[2].u, 1.0f);
}

}  // namespace
