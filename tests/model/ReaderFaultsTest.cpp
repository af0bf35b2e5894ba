// Files whose counts, indices, braces or sizes cannot be right, and files
// that go beyond what the reader sized in advance: each is refused with a
// message naming the object and the file's line, or read without losing data.
#include "ReaderFixture.h"

#include <filesystem>

namespace {

const std::string kTriangleData = " 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n";

TEST_F(ReaderTest, ShortLinesLeaveTheirMissingValuesAtZero)
{
    // "1;1;0;;" puts a whole list header on one line: no face indices follow.
    ASSERT_EQ(Read("Mesh M {\n 3;\n 1.5;2.5;\n 1;0;0;,\n 0;1;0;;\n 2;\n 3;0,1,2;,\n 3;2,1,0;;\n"
                   " MeshMaterialList {\n 1;1;0;;\n Material Red {\n 0.5;0.5;\n 2;\n 1;\n 1;1;1;;\n }\n }\n}\n"),
              S_OK);
    EXPECT_TRUE(messages().empty());
    const MeshRecord& mesh = OnlyMesh();
    EXPECT_EQ(mesh.vertices[0].x, 1.5f);
    EXPECT_EQ(mesh.vertices[0].z, 0.0f);
    ASSERT_EQ(mesh.materialCount(), 1);
    EXPECT_EQ(mesh.materials[0].name, "Red");
    EXPECT_EQ(mesh.materials[0].colors.diffuse, (std::array<float, 4>{0.5f, 0.5f, 0.0f, 1.0f}));
    EXPECT_EQ(mesh.materials[0].colors.specular, (std::array<float, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(*mesh.faceMaterials, (MeshRecord::FaceMaterialList{0, 0}));
}

TEST_F(ReaderTest, ReadsFacesWhoseIndicesAreSeparatedBySemicolons)
{
    ASSERT_EQ(Read("Mesh M {\n 4;\n 0;0;0;,\n 1;0;0;,\n 1;1;0;,\n 0;1;0;;\n 2;\n 4;0;1;2;3;,\n 4;3,2, 1 ,0;;\n}\n"), S_OK);
    const MeshRecord& mesh = OnlyMesh();
    ASSERT_EQ(mesh.faceCount(), 2);
    EXPECT_EQ(std::vector<std::int32_t>(mesh.faces[0].corners, mesh.faces[0].corners + 4),
              (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(std::vector<std::int32_t>(mesh.faces[1].corners, mesh.faces[1].corners + 4),
              (std::vector<std::int32_t>{3, 2, 1, 0}));
}

struct BadFile {
    const char* what;
    std::string body;
    std::string message;
};

void PrintTo(const BadFile& file, std::ostream* out) { *out << file.what; }

class ReaderRefusal : public ReaderTest, public testing::WithParamInterface<BadFile> {};

TEST_P(ReaderRefusal, StopsWithOneMessage)
{
    // Nothing is kept of a refused file, not even a mesh read before the bad one.
    const std::string before = "Mesh First {\n" + kTriangleData + "}\n// a comment line\n";
    EXPECT_EQ(Read(before + GetParam().body + "Frame After {\n}\n"), E_FAIL);
    ExpectOneError(GetParam().message);
    EXPECT_EQ(traces().find("Frame"), std::string::npos) << "the walk went on after the failure";
    EXPECT_TRUE(model.meshes.empty());
}

// The bad object starts on line 11 of each file.
INSTANTIATE_TEST_SUITE_P(
    ImpossibleCounts, ReaderRefusal,
    testing::Values(
        BadFile{"NegativeVertexCount", "Mesh Box {\n -3;\n}\n",
                "Erreur de chargement, le nombre d'éléments (-3) de l'objet Mesh \"Box\" à la ligne 12 est négatif. "
                "Model::ReadMesh"},
        BadFile{"VertexCountBeyondTheFile", "Mesh Box {\n 2147483647;\n 0;0;0;;\n}\n",
                "Erreur de chargement, l'objet Mesh \"Box\" annonce 2147483647 éléments à la ligne 12, plus que le "
                "fichier n'en contient. Model::ReadMesh"},
        BadFile{"VertexCountBeyondItsBlock", "Mesh Box {\n 3;\n 0;0;0;;\n}\nFrame F {\n 1;\n 2;\n}\n",
                "Erreur de chargement, l'objet Mesh \"Box\" annonce 3 éléments à la ligne 12, plus que le fichier "
                "n'en contient. Model::ReadMesh"},
        BadFile{"FaceCountBeyondTheFile", "Mesh Box {\n 1;\n 0;0;0;;\n 40;\n 3;0,0,0;;\n}\n",
                "Erreur de chargement, l'objet Mesh \"Box\" annonce 40 éléments à la ligne 14, plus que le fichier "
                "n'en contient. Model::ReadMesh"},
        BadFile{"CornerCountBeyondItsLine", "Mesh Box {\n 1;\n 0;0;0;;\n 2;\n 3;0,0,0;,\n 9;0,0,0;;\n}\n",
                "Erreur de chargement, une face de l'objet Mesh \"Box\" annonce 9 sommets à la ligne 16, plus que sa "
                "ligne n'en contient. Model::ReadMesh"},
        BadFile{"NegativeCornerCount", "Mesh Box {\n 1;\n 0;0;0;;\n 1;\n -2;0,0;;\n}\n",
                "Erreur de chargement, le nombre d'éléments (-2) de l'objet Mesh \"Box\" à la ligne 15 est négatif. "
                "Model::ReadMesh"},
        BadFile{"CornerBeyondTheVertices", "Mesh Box {\n 2;\n 0;0;0;,\n 1;1;1;;\n 1;\n 3;0,1,2;;\n}\n",
                "Erreur de chargement, l'indice de sommet 2 de l'objet Mesh \"Box\" à la ligne 16 n'existe pas (2 "
                "sommets). Model::ReadMesh"},
        BadFile{"NegativeCorner", "Mesh Box {\n 2;\n 0;0;0;,\n 1;1;1;;\n 1;\n 3;0,-1,1;;\n}\n",
                "Erreur de chargement, l'indice de sommet -1 de l'objet Mesh \"Box\" à la ligne 16 n'existe pas (2 "
                "sommets). Model::ReadMesh"},
        BadFile{"TextureCoordinatesBeyondTheFile",
                "Mesh Box {\n" + kTriangleData + " MeshTextureCoords {\n 50;\n 0;0;;\n }\n}\n",
                "Erreur de chargement, l'objet MeshTextureCoords de la mesh \"Box\" annonce 50 éléments à la ligne "
                "19, plus que le fichier n'en contient. Model::ReadMeshTextureCoords"},
        BadFile{"NegativeMaterialCount", "Mesh Box {\n" + kTriangleData + " MeshMaterialList {\n -1;\n 1;\n 0;;\n }\n}\n",
                "Erreur de chargement, le nombre d'éléments (-1) de l'objet MeshMaterialList de la mesh \"Box\" à la "
                "ligne 19 est négatif. Model::ReadMeshMaterialList"},
        BadFile{"MaterialCountBeyondTheFile",
                "Mesh Box {\n" + kTriangleData + " MeshMaterialList {\n 100000000;\n 1;\n 0;;\n }\n}\n",
                "Erreur de chargement, l'objet MeshMaterialList de la mesh \"Box\" annonce 100000000 éléments à la "
                "ligne 19, plus que le fichier n'en contient. Model::ReadMeshMaterialList"},
        BadFile{"FaceMaterialCountBeyondTheFile",
                "Mesh Box {\n" + kTriangleData + " MeshMaterialList {\n 1;\n 99;\n 0;;\n }\n}\n",
                "Erreur de chargement, l'objet MeshMaterialList de la mesh \"Box\" annonce 99 éléments à la ligne 20, "
                "plus que le fichier n'en contient. Model::ReadMeshMaterialList"},
        BadFile{"FaceMaterialBeyondTheList",
                "Mesh Box {\n" + kTriangleData + " MeshMaterialList {\n 2;\n 1;\n 2;;\n { A }\n { B }\n }\n}\n",
                "Erreur de chargement, l'indice de matériau 2 de l'objet MeshMaterialList de la mesh \"Box\" à la "
                "ligne 21 n'existe pas (2 matériaux). Model::ReadMeshMaterialList"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.what); });

TEST_F(ReaderTest, RefusesAClosingBraceWithNoOpenBlock)
{
    EXPECT_EQ(Read("}\nFrame F {\n"), E_FAIL);
    ExpectOneError("Erreur de chargement, les bloques {} ne sont pas valide.");
    EXPECT_TRUE(traces().empty());  // refused before the walk
}

TEST_F(ReaderTest, HoldsAtMost255OpenBlocks)
{
    auto nested = [](int depth, const std::string& innermost) {
        std::string text;
        for (int k = 0; k < depth; ++k) text += "Frame F" + std::to_string(k) + " {\n";
        text += innermost;
        for (int k = 0; k < depth; ++k) text += "}\n";
        return text;
    };
    ASSERT_EQ(Read(nested(254, "Mesh Deep {\n" + kTriangleData + "}\n")), S_OK);
    EXPECT_EQ(OnlyMesh().name, "Deep");

    EXPECT_EQ(Read(nested(255, "{ Ref }\n")), E_FAIL);
    ExpectOneError("Erreur de chargement, les bloques {} ne sont pas valide.");
}

TEST_F(ReaderTest, KeepsMoreMeshesThanLinesNamingThem)
{
    // The brace line below "Mesh Outer {" opens a second mesh block.
    ASSERT_EQ(Read("Mesh Outer {\n{\n" + kTriangleData + "}\n}\n"), S_OK);
    ASSERT_EQ(model.meshCount(), 2);
    EXPECT_EQ(model.meshes[0].name, "Unnamed");
    EXPECT_EQ(model.meshes[0].vertexCount(), 3);
    EXPECT_EQ(model.meshes[1].vertexCount(), 0);
    EXPECT_EQ(model.meshes[1].materialCount(), 1);
}

TEST_F(ReaderTest, KeepsSharedMaterialsDeclaredAfterTheFirstMesh)
{
    ASSERT_EQ(Read("Mesh A {\n" + kTriangleData + "}\nMaterial Late {\n 1;0;0;0.25;;\n 1;\n 0;0;0;;\n 0;0;0;;\n"
                   " TextureFilename { \"late.png\"; }\n}\nMesh B {\n" + kTriangleData +
                   " MeshMaterialList {\n 1;\n 1;\n 0;;\n { Late }\n }\n}\n"),
              S_OK);
    EXPECT_EQ(model.sharedMaterials.size(), 1u);
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[1].name, "B");
    EXPECT_EQ(model.meshes[1].opacity, 0.25f);
    EXPECT_EQ(model.meshes[1].materials[0].textureFile, "late.png");
}

TEST_F(ReaderTest, IgnoresMaterialsBeyondTheListsCount)
{
    const std::string material = " Material Kept {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n }\n";
    const std::string extra =
        " Material Extra {\n 1;1;1;0.5;;\n 1;\n 0;0;0;;\n 0;0;0;;\n TextureFilename {\n \"extra.png\";\n }\n }\n";
    ASSERT_EQ(Read("Material Shared {\n 1;1;1;0.25;;\n}\nMesh M {\n" + kTriangleData + " MeshMaterialList {\n 1;\n 1;\n 0;;\n" +
                   material + extra + " { Shared }\n }\n}\n"),
              S_OK);
    const MeshRecord& mesh = OnlyMesh();
    ASSERT_EQ(mesh.materialCount(), 1);
    EXPECT_EQ(mesh.materials[0].name, "Kept");
    EXPECT_EQ(mesh.materials[0].textureFile, "");  // the extra material's texture does not land here
    EXPECT_EQ(mesh.opacity, 1.0f);                  // nor do the extra materials' alphas count
}

TEST_F(ReaderTest, IgnoresATextureNameWithNoMaterialBeforeIt)
{
    ASSERT_EQ(Read("TextureFilename {\n \"orphan.png\";\n}\nMesh M {\n" + kTriangleData +
                   " MeshMaterialList {\n 0;\n 0;\n Material Over {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n"
                   " TextureFilename { \"over.png\"; }\n }\n }\n}\n"),
              S_OK);
    EXPECT_TRUE(model.sharedMaterials.empty());
    EXPECT_EQ(OnlyMesh().materialCount(), 0);
    EXPECT_EQ(model.CountTexturedMaterials(), 0);
}

TEST_F(ReaderTest, CutsLongNamesAndKeepsLongLines)
{
    const std::string longName(300, 'n');
    const std::string longTexture(5000, 't');
    ASSERT_EQ(Read("Material " + longName + " {\n 1;1;1;0.5;;\n 1;\n 0;0;0;;\n 0;0;0;;\n TextureFilename {\n \"" +
                   longTexture + ".png\";\n }\n}\nMesh " + longName + "x {\n" + kTriangleData +
                   " MeshMaterialList {\n 1;\n 1;\n 0;;\n { " + longName + "y }\n }\n}\n"),
              S_OK);
    EXPECT_EQ(model.sharedMaterials.at(0).name, std::string(255, 'n'));
    const MeshRecord& mesh = OnlyMesh();
    EXPECT_EQ(mesh.name, std::string(255, 'n'));
    // The reference's name is compared as far as a name is kept.
    EXPECT_EQ(mesh.materials.at(0).textureFile, longTexture + ".png");
    EXPECT_EQ(mesh.opacity, 0.5f);
}

TEST_F(ReaderTest, RefusesFilesOfFourGigabytesOrMore)
{
    testing_support::TempDir folder;
    const std::filesystem::path path = folder.Write("huge.x", kFirstLine);
    std::filesystem::resize_file(path, 0x100000000ull);  // sparse: takes no room
    EXPECT_EQ(ReadPath(path.string()), E_FAIL);
    ExpectOneError("Le fichier " + path.string() + " est trop volumineux (4 Go ou plus). Model::ReadFile");
}

}  // namespace

namespace {

// Frames and skins are read for the scene as authored; what cannot be read
// whole is left out, and never makes the file fail.
TEST_F(ReaderTest, FramesAndSkinsReadWholeOrLeftOut)
{
    const std::string skinOf = " SkinWeights {\n \"Bone\";\n 2;\n 0,\n 1;\n 1.0,\n 0.5;\n"
                               " 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n";
    ASSERT_EQ(Read("Frame Root {\n FrameTransformMatrix {\n 1,0,0,0,\n 0,1,0,0,\n 0,0,1,0,\n 0,2,0,1;;\n }\n"
                   " Frame Bone {\n FrameTransformMatrix {\n 1,0,0,0,0,1,0,0,0,0,1,0;;\n }\n }\n"
                   " Frame\n {\n Mesh Box {\n" + kTriangleData + skinOf +
                   " SkinWeights {\n \"Nowhere\";\n 99;\n 0;\n 1.0;;\n }\n"
                   " SkinWeights {\n 1;\n 0;\n 1.0;\n 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n }\n }\n}\n"),
              S_OK);
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(model.frames.size(), 3u);
    EXPECT_EQ(model.frames[0].name, "Root");
    ASSERT_TRUE(model.frames[0].transform);
    EXPECT_EQ(model.frames[0].transform->m[13], 2.0f);
    EXPECT_EQ(model.frames[1].parent, 0);
    EXPECT_FALSE(model.frames[1].transform);  // twelve numbers: left out
    EXPECT_EQ(model.frames[2].name, "");      // its name stands on no line of the block
    EXPECT_EQ(model.frames[2].parent, 0);
    const MeshRecord& mesh = OnlyMesh();
    EXPECT_EQ(mesh.frame, 2);
    // The count beyond its numbers and the skin without a bone name are left out.
    ASSERT_EQ(mesh.skinWeights.size(), 1u);
    EXPECT_EQ(mesh.skinWeights[0].boneName, "Bone");
    EXPECT_EQ(mesh.skinWeights[0].vertexIndices, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(mesh.skinWeights[0].weights, (std::vector<float>{1.0f, 0.5f}));
}

}  // namespace
