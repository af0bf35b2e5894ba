// The "Scène" panel's rows, and a mesh it hides left out of the fit.
#include "ShellGlTest.h"
#include "app/SceneParts.h"
#include "render/LoadedModel.h"

#include <string>

namespace {

// A square mesh of one material named `name`Colour, with `extra` inside the material.
std::string Square(const std::string& name, const std::string& extra = {})
{
    return "Mesh " + name + " {\n 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n 1; 4;0,1,2,3;;\n MeshMaterialList {\n  1; 1; 0;;\n  Material " +
           name + "Colour {\n   1;0;0;1;; 5; 0;0;0;; 0;0;0;;\n" + extra + "  }\n }\n}\n";
}

// The rows one a line, indented under their parents; the texture's load message cut off.
std::vector<std::string> Outline(const std::vector<ScenePartRow>& rows)
{
    std::vector<std::string> lines, indents;
    for (const ScenePartRow& row : rows) {
        indents.push_back(row.parent < 0 ? "" : indents.at(static_cast<std::size_t>(row.parent)) + "  ");
        if (row.kind == ScenePartRow::Kind::Detail && row.label != "Texture") continue;
        lines.push_back(indents.back() + row.label + " : " + row.detail.substr(0, row.detail.find(" : ", row.detail.find("non chargée"))));
    }
    return lines;
}

using SceneParts = ShellGlTest;

TEST_F(SceneParts, RowsHoldTheFrameTreeBonesAndWhyATextureIsMissing)
{
    testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;
    std::string body = Square("Body");
    body.insert(body.rfind('}'), " SkinWeights {\n  \"Arm\"; 1; 0; 1; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n");
    const std::string scene = "xof 0303txt 0032\nFrame Root {\n" + body + "Frame Arm {\n" +
                              Square("Plate", "   TextureFilename {\n    \"missing.png\";\n   }\n") + "}\n}\n";
    LoadedModel loaded;
    ASSERT_EQ(loaded.Load(folder.Write("scene.x", scene)), S_OK);
    EXPECT_EQ(Outline(ScenePartRows(loaded)), (std::vector<std::string>{
                                                  "Root : frame",
                                                  "  Body : 4 sommets, 1 faces, 1 matériau, skin de 1 os",
                                                  "    BodyColour : matériau 0",
                                                  "  Arm : frame, os",
                                                  "    Plate : 4 sommets, 1 faces, 1 matériau",
                                                  "      PlateColour : matériau 0",
                                                  "        Texture : missing.png : non chargée",
                                              }));
}

TEST_F(SceneParts, AHiddenMeshLeavesTheFit)
{
    shell.LoadAtStart(PELMORA_SAMPLES_DIR "/../tests/app/two_quads_in_frames.x");  // x in [-3, -1] and [1, 3]
    ASSERT_TRUE(state.currentModel);
    shell.ShowMesh(1, false);
    shell.OnCommand(command::FitView);
    EXPECT_NEAR(state.viewFrame.centre.x, -2.0f, 0.01f);
}

}  // namespace
