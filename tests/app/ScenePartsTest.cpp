// The "Scène" panel's rows and what its requests do to the shell: the frame
// tree with bones and counts, why a texture is missing, a hidden mesh left
// out of the fit, requests for meshes the model does not have.
#include "ShellGlTest.h"
#include "app/SceneParts.h"
#include "render/LoadedModel.h"

namespace {

constexpr const char* kIdentity = "FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n";

// A square at x from `left` to left + 2, both sides, of one diffuse colour,
// with `extra` inside its material.
std::string Square(const std::string& name, int left, const std::string& colour, const std::string& extra = {})
{
    const std::string l = std::to_string(left), r = std::to_string(left + 2);
    return "Mesh " + name + " {\n 4;\n " + l + ";-1;0;,\n " + r + ";-1;0;,\n " + r + ";1;0;,\n " + l + ";1;0;;\n" +
           " 2;\n 4;0,1,2,3;,\n 4;3,2,1,0;;\n MeshMaterialList {\n  1;\n  2;\n  0,\n  0;;\n  Material " + name +
           "Colour {\n   " + colour + ";1;;\n   5;\n   0;0;0;;\n   0;0;0;;\n" + extra + "  }\n }\n}\n";
}

// The rows one a line, indented under their parents, with the colours and
// textures but not the other details; a texture's load message (which names
// a temporary folder) cut off.
std::vector<std::string> Outline(const std::vector<ScenePartRow>& rows)
{
    std::vector<std::string> lines, indents;
    for (const ScenePartRow& row : rows) {
        indents.push_back(row.parent < 0 ? "" : indents.at(static_cast<std::size_t>(row.parent)) + "  ");
        if (row.kind == ScenePartRow::Kind::Detail && row.label != "Diffuse" && row.label != "Texture") continue;
        const std::string detail = row.detail.substr(0, row.detail.find(" : ", row.detail.find("non chargée")));
        lines.push_back(indents.back() + row.label + (row.mesh >= 0 ? " #" + std::to_string(row.mesh) : "") + " : " + detail);
    }
    return lines;
}

using SceneParts = ShellGlTest;

TEST_F(SceneParts, RowsHoldTheFrameTreeBonesCountsColoursAndTextures)
{
    // Root holds Arm, which holds Hand; a second "Arm" elsewhere is not the
    // bone (the first frame of a name is). A skinned body on Root, a plate on
    // Hand, a triangle outside any frame.
    testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;  // the missing texture's message
    folder.Write("tiny.ppm", std::string("P6\n2 1\n255\n") + std::string(6, '\x7f'));
    std::string body = Square("Body", -1, "1;1;1");
    body.insert(body.rfind('}'), " SkinWeights {\n  \"Arm\";\n  2;\n  0,\n  1;\n  1,\n  1;\n  "
                                 "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n");
    const std::string scene = std::string("xof 0303txt 0032\nFrame Root {\n") + kIdentity + body + "Frame Arm {\n" +
                              kIdentity + "Frame Hand {\n" + kIdentity +
                              Square("Plate", 2, "0.5;0.25;1", "   TextureFilename { \"missing.png\"; }\n") +
                              "}\n}\n}\nFrame Other {\n" + kIdentity + "Frame Arm {\n" + kIdentity + "}\n}\n" +
                              Square("Loose", 4, "1;0;0", "   TextureFilename { \"tiny.ppm\"; }\n");
    LoadedModel loaded;
    ASSERT_EQ(loaded.Load(folder.Write("scene.x", scene)), S_OK);
    const std::vector<ScenePartRow> rows = ScenePartRows(loaded);
    EXPECT_EQ(Outline(rows), (std::vector<std::string>{
                                 "Root : frame",
                                 "  Body #0 : 4 sommets, 4 faces, 1 matériau, skin de 1 os",
                                 "    BodyColour : matériau 0",
                                 "      Diffuse : 1 1 1 1",
                                 "  Arm : frame, os",
                                 "    Hand : frame",
                                 "      Plate #1 : 4 sommets, 4 faces, 1 matériau",
                                 "        PlateColour : matériau 0",
                                 "          Diffuse : 0.5 0.25 1 1",
                                 "          Texture : missing.png : non chargée",
                                 "Other : frame",
                                 "  Arm : frame",
                                 "Loose #2 : 4 sommets, 4 faces, 1 matériau",
                                 "  LooseColour : matériau 0",
                                 "    Diffuse : 1 0 0 1",
                                 "    Texture : tiny.ppm : 2 × 1, PPM, 3 composantes",
                             }));
    const auto row = [&](const std::string& label) {
        return static_cast<std::size_t>(std::find_if(rows.begin(), rows.end(), [&](const ScenePartRow& r) { return r.label == label; }) - rows.begin());
    };
    EXPECT_NE(rows.at(row("Texture")).detail.find("missing.png", 5), std::string::npos) << "the load's own message";

    // A box ticked on a frame holds the meshes under it; one on a colour, its mesh.
    EXPECT_EQ(MeshesUnder(rows, row("Root")), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(MeshesUnder(rows, row("Other")), std::vector<std::int32_t>{});
    EXPECT_EQ(MeshOfRow(rows, row("Diffuse")), 0);
    EXPECT_EQ(MeshOfRow(rows, row("Hand")), -1);
    EXPECT_EQ(MeshOfRow(rows, rows.size()), -1);
}

// The panel's requests: what it hides leaves the fit, what is not in the
// model is ignored, a new load forgets both. (The X test looks at the pixels.)
TEST_F(SceneParts, AHiddenMeshLeavesTheFitAndANewLoadForgetsTheRequests)
{
    shell.LoadAtStart(PELMORA_SAMPLES_DIR "/../tests/app/two_quads_in_frames.x");  // x in [-3, -1] and [1, 3]
    ASSERT_TRUE(state.currentModel);
    shell.ShowMesh(1, false);
    shell.ShowMesh(9, false);
    shell.OnCommand(command::FitView);
    EXPECT_NEAR(state.viewFrame.centre.x, -2.0f, 0.01f);
    shell.SelectMesh(7);
    EXPECT_EQ(options.selectedMesh, -1);
    shell.SelectMesh(0);
    EXPECT_EQ(options.selectedMesh, 0);
    shell.OnCommand(command::Reload);
    EXPECT_EQ(options.selectedMesh, -1);
    EXPECT_TRUE(state.currentModel->MeshShown(1));
}

}  // namespace
