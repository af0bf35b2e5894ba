// The data objects a mesh is read from: vertices, faces, coordinates,
// material lists, materials and texture names.
#include "ReaderFixture.h"

namespace {

std::string MaterialList(const std::string& counts, const std::string& members)
{
    return " MeshMaterialList {\n" + counts + members + " }\n";
}

std::string MaterialObject(const std::string& head, const std::string& faceColor, const std::string& extra = {})
{
    return "Material " + head + " {\n " + faceColor + "\n 12.5;\n 0.25;0.5;0.75;;\n 0.1;0.2;0.3;;\n" + extra + "}\n";
}

TEST_F(ReaderTest, ReadsVerticesFacesAndCoordinates)
{
    const std::string body =
        "Header {\n 1;\n 2;\n 3;\n}\n"
        "Mesh Quad {\n 4;\n 1.0; 2.0; 3.0;,\n -1.5;+2.5e1;  0;,\n 0;0;0;,\n 1;1;1;;\n 2;\n 4;0,1,2,3;,\n 3;3,2,1;;\n"
        " MeshTextureCoords {\n 4;\n 0.5; 0.25;,\n 1;0;,\n 0;1;,\n 1;1;;\n }\n}\n";
    ASSERT_EQ(Read(body), S_OK);
    EXPECT_EQ(model.headerMajor, 1);
    EXPECT_EQ(model.headerMinor, 2);
    EXPECT_EQ(model.headerFlags, 3);
    const MeshRecord& quad = OnlyMesh();
    EXPECT_EQ(quad.name, "Quad");
    ASSERT_EQ(quad.vertexCount(), 4);
    EXPECT_EQ(quad.vertices[0].x, 1.0f);
    EXPECT_EQ(quad.vertices[0].y, 2.0f);
    EXPECT_EQ(quad.vertices[0].z, 3.0f);
    EXPECT_EQ(quad.vertices[1].y, 25.0f);
    EXPECT_EQ(quad.vertices[1].x, -1.5f);
    ASSERT_EQ(quad.faceCount(), 2);
    ASSERT_EQ(quad.faces[0].cornerCount, 4);
    EXPECT_EQ(std::vector<std::int32_t>(quad.faces[0].corners, quad.faces[0].corners + 4),
              (std::vector<std::int32_t>{0, 1, 2, 3}));
    ASSERT_EQ(quad.faces[1].cornerCount, 3);
    EXPECT_EQ(quad.faces[1].corners[0], 3);
    EXPECT_EQ(quad.faces[1].corners[2], 1);
    ASSERT_EQ(quad.texCoordCount(), 4);
    EXPECT_EQ((*quad.texCoords)[0].u, 0.5f);
    EXPECT_EQ((*quad.texCoords)[0].v, 0.25f);
    EXPECT_EQ((*quad.texCoords)[2].v, 1.0f);
    // Without a material list: one default material, every face on it.
    ASSERT_EQ(quad.materialCount(), 1);
    EXPECT_EQ(quad.materials[0].name, "unnamed");
    EXPECT_EQ(*quad.faceMaterials, (MeshRecord::FaceMaterialList{0, 0}));
}

TEST_F(ReaderTest, AHeaderValueLeftOutKeepsTheEarlierOne)
{
    ASSERT_EQ(Read("Header {\n 1;\n 2;\n 3;\n}\nHeader {\n 4;\n x;\n}\n"), S_OK);
    EXPECT_EQ(model.headerMajor, 4);
    EXPECT_EQ(model.headerMinor, 2);
    EXPECT_EQ(model.headerFlags, 3);
}

TEST_F(ReaderTest, NamesComeFromWordOneOfALineOfThreeWords)
{
    ASSERT_EQ(Read("Mesh {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n"
                   " MeshMaterialList {\n 1;\n 1;\n 0;;\n Material {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n }\n }\n}\n"
                   "mesh { // commented\n 1;\n 0;0;0;;\n 0;\n}\n"),
              S_OK);
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[0].name, "Unnamed");
    EXPECT_EQ(model.meshes[0].materials[0].name, "Unnamed");
    EXPECT_EQ(model.meshes[1].name, "Unnamed");  // a brace or a comment is no name
    EXPECT_EQ(model.meshes[1].faceCount(), 0);
}

TEST_F(ReaderTest, SkipsShortLinesBeforeTheVertexCount)
{
    ASSERT_EQ(Read("Mesh Short {\n;\n3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n}\n"), S_OK);
    EXPECT_EQ(OnlyMesh().vertexCount(), 3);
    EXPECT_EQ(OnlyMesh().faceCount(), 1);
}

TEST_F(ReaderTest, ReadsAMaterialsColoursAndOpacity)
{
    const std::string list = MaterialList(" 2;\n 1;\n 1;;\n", MaterialObject("Clear", "1.0;1.0;1.0;0.0;;") +
                                                                  MaterialObject("Glass", "0.2;0.4;0.6;0.5;;"));
    ASSERT_EQ(Read(TriangleMesh("M", list)), S_OK);
    const MeshRecord& mesh = OnlyMesh();
    ASSERT_EQ(mesh.materialCount(), 2);
    // An alpha of 0 means opaque and leaves the mesh opaque; 0.5 lowers it.
    EXPECT_EQ(mesh.materials[0].colors.diffuse[3], 1.0f);
    EXPECT_EQ(mesh.opacity, 0.5f);
    const MaterialColors& glass = mesh.materials[1].colors;
    EXPECT_EQ(mesh.materials[1].name, "Glass");
    EXPECT_EQ(glass.ambient, (std::array<float, 4>{0.2f, 0.4f, 0.6f, 0.5f}));
    EXPECT_EQ(glass.diffuse, glass.ambient);
    EXPECT_EQ(glass.power, 12.5f);
    EXPECT_EQ(glass.specular, (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(glass.emissive, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 1.0f}));
    EXPECT_EQ(*mesh.faceMaterials, (MeshRecord::FaceMaterialList{1}));
}

TEST_F(ReaderTest, APowerLineWithoutANumberGivesOne)
{
    ASSERT_EQ(Read("Material Dull {\n 1;1;1;1;;\n ;\n 0;0;0;;\n 0;0;0;;\n}\n"), S_OK);
    EXPECT_EQ(model.sharedMaterials.at(0).colors.power, 1.0f);
}

TEST_F(ReaderTest, SharedMaterialsLowerOnlyTheMeshesThatReferToThem)
{
    const std::string body = MaterialObject("Half", "1;1;1;0.5;;") + MaterialObject("half", "0;0;1;1;;") +
                             TriangleMesh("Uses", MaterialList(" 3;\n 1;\n 1;;\n", " {HALF}\n")) +
                             TriangleMesh("Other", MaterialList(" 1;\n 1;\n 0;;\n", " { Missing }\n"));
    ASSERT_EQ(Read(body), S_OK);
    ASSERT_EQ(model.meshes.size(), 2u);
    const MeshRecord& other = model.meshes[0];
    EXPECT_EQ(other.name, "Other");
    EXPECT_EQ(other.opacity, 1.0f);
    EXPECT_EQ(other.materials[0].colors, MaterialColors{});  // a name that matches nothing fills nothing

    // A name declared twice fills two slots.
    const MeshRecord& uses = model.meshes[1];
    EXPECT_EQ(uses.opacity, 0.5f);
    ASSERT_EQ(uses.materialCount(), 3);
    EXPECT_EQ(uses.materials[0].colors.diffuse[3], 0.5f);
    EXPECT_EQ(uses.materials[1].colors.diffuse, (std::array<float, 4>{0, 0, 1, 1}));  // not the default white
    EXPECT_EQ(uses.materials[2].colors, MaterialColors{});
    for (const auto& material : uses.materials) EXPECT_EQ(material.name, "Unnamed");
}

TEST_F(ReaderTest, AReferenceAndAnInlineMaterialFillTheListInOrder)
{
    const std::string body = MaterialObject("Blue", "0;0;1;1;;") +
                             TriangleMesh("M", MaterialList(" 2;\n 1;\n 0;;\n", " { Blue }\n" +
                                                                                  MaterialObject("Red", "1;0;0;1;;")));
    ASSERT_EQ(Read(body), S_OK);
    ASSERT_EQ(OnlyMesh().materialCount(), 2);
    EXPECT_EQ(OnlyMesh().materials[0].name, "Unnamed");
    EXPECT_EQ(OnlyMesh().materials[0].colors.diffuse[2], 1.0f);
    EXPECT_EQ(OnlyMesh().materials[1].name, "Red");
}

TEST_F(ReaderTest, ReadsTextureNamesOnTheBraceLineOrBelowIt)
{
    const std::string materials =
        MaterialObject("A", "1;1;1;1;;", " TextureFilename {\n \"below.png\";\n }\n") +
        MaterialObject("B", "1;1;1;1;;", " TextureFilename { \"same line.dds\"; }\n") +
        MaterialObject("C", "1;1;1;1;;", " TextureFilename {\n \"unclosed.tga;\n }\n") +
        MaterialObject("D", "1;1;1;1;;", " TextureFilename {\n bare.bmp;\n }\n");
    ASSERT_EQ(Read(TriangleMesh("M", MaterialList(" 4;\n 1;\n 0;;\n", materials))), S_OK);
    const auto& list = OnlyMesh().materials;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].textureFile, "below.png");
    EXPECT_EQ(list[1].textureFile, "same line.dds");
    EXPECT_EQ(list[2].textureFile, "unclosed.tga;");
    EXPECT_EQ(list[3].textureFile, "bare.bmp;");
    EXPECT_EQ(model.CountTexturedMaterials(), 4);
}

TEST_F(ReaderTest, AListThatDoesNotCoverEveryFaceKeepsItsMaterials)
{
    const std::string mesh = "Mesh M {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 2;\n 3;0,1,2;,\n 3;2,1,0;;\n" +
                             MaterialList(" 2;\n 1;\n 1;;\n", MaterialObject("X", "1;1;1;1;;") +
                                                                  MaterialObject("Y", "1;1;1;1;;")) +
                             "}\n";
    ASSERT_EQ(Read(mesh), S_OK);
    EXPECT_EQ(OnlyMesh().materialCount(), 2);
    EXPECT_EQ(OnlyMesh().materials[1].name, "Y");
    EXPECT_EQ(*OnlyMesh().faceMaterials, (MeshRecord::FaceMaterialList{0, 0}));
}

}  // namespace
