// The "Scène" panel's rows and what its requests do to the shell's frame:
// the frame tree with bones and counts, why a texture is missing, a hidden
// mesh gone from every draw path and from the fit, the chosen mesh's box.
#include "ShellGlTest.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/SceneParts.h"
#include "app/Shell.h"
#include "render/LoadedModel.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

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

// Root holds Arm, which holds Hand; a second "Arm" elsewhere is not the bone
// (the first frame of a name is). The skinned body is on Root, a textured
// plate on Hand, a square outside any frame.
std::string NestedScene()
{
    const std::string skin = " SkinWeights {\n  \"Arm\";\n  2;\n  0,\n  1;\n  1,\n  1;\n  "
                             "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n";
    std::string body = Square("Body", -1, "1;1;1");
    body.insert(body.rfind('}'), skin);
    return std::string("xof 0303txt 0032\nFrame Root {\n") + kIdentity + body + "Frame Arm {\n" + kIdentity +
           "Frame Hand {\n" + kIdentity +
           Square("Plate", 2, "0.5;0.25;1",
                  "   TextureFilename { \"missing.png\"; }\n") +
           "}\n}\n}\nFrame Other {\n" + kIdentity + "Frame Arm {\n" + kIdentity + "}\n}\n" +
           Square("Loose", 4, "1;0;0", "   TextureFilename { \"tiny.ppm\"; }\n");
}

std::vector<std::string> Labels(const std::vector<ScenePartRow>& rows, ScenePartRow::Kind kind)
{
    std::vector<std::string> labels;
    for (const ScenePartRow& row : rows)
        if (row.kind == kind) labels.push_back(row.label);
    return labels;
}

// The first row of that label from row `from` on (and whose detail begins so).
const ScenePartRow* RowNamed(const std::vector<ScenePartRow>& rows, const std::string& label, std::size_t from = 0,
                             const std::string& detail = {})
{
    for (std::size_t r = from; r < rows.size(); ++r)
        if (rows[r].label == label && rows[r].detail.rfind(detail, 0) == 0) return &rows[r];
    return nullptr;
}

class SceneParts : public ShellGlTest {
protected:
    // Pixels mostly red and mostly blue in the shell's frame.
    std::array<int, 2> RedAndBlue()
    {
        DrawScene(state, options);
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::array<int, 2> counts{};
        for (std::size_t k = 0; k < rgba.size(); k += 4) {
            const int r = rgba[k], g = rgba[k + 1], b = rgba[k + 2];
            if (r > 40 && r > 2 * g && r > 2 * b) ++counts[0];
            if (b > 40 && b > 2 * r && b > 2 * g) ++counts[1];
        }
        return counts;
    }

    testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;  // the missing texture's message
};

TEST_F(SceneParts, RowsHoldTheFrameTreeBonesCountsColoursAndTextures)
{
    folder.Write("tiny.ppm", std::string("P6\n2 1\n255\n") + std::string(6, '\x7f'));
    LoadedModel loaded;
    ASSERT_EQ(loaded.Load(folder.Write("scene.x", NestedScene())), S_OK);
    const std::vector<ScenePartRow> rows = ScenePartRows(loaded);

    EXPECT_EQ(Labels(rows, ScenePartRow::Kind::Frame), (std::vector<std::string>{"Root", "Arm", "Hand", "Other", "Arm"}));
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_LT(rows[r].parent, static_cast<std::int32_t>(r)) << "a parent before its children";
    const ScenePartRow* root = RowNamed(rows, "Root");
    const ScenePartRow* arm = RowNamed(rows, "Arm");
    const ScenePartRow* hand = RowNamed(rows, "Hand");
    const ScenePartRow* plate = RowNamed(rows, "Plate");
    const ScenePartRow* body = RowNamed(rows, "Body");
    const ScenePartRow* loose = RowNamed(rows, "Loose");
    ASSERT_TRUE(root && arm && hand && plate && body && loose);
    const auto rowIndex = [&](const ScenePartRow* row) { return static_cast<std::int32_t>(row - rows.data()); };
    EXPECT_EQ(arm->parent, rowIndex(root));
    EXPECT_EQ(hand->parent, rowIndex(arm));
    EXPECT_EQ(plate->parent, rowIndex(hand));
    EXPECT_EQ(body->parent, rowIndex(root));
    EXPECT_EQ(loose->parent, -1) << "outside any frame: at the top";
    EXPECT_TRUE(arm->bone);
    EXPECT_FALSE(RowNamed(rows, "Arm", static_cast<std::size_t>(rowIndex(arm)) + 1)->bone) << "only the first of a name";
    EXPECT_FALSE(root->bone);

    EXPECT_EQ(body->kind, ScenePartRow::Kind::Mesh);
    EXPECT_EQ(loaded.model.meshes[static_cast<std::size_t>(body->mesh)].name, "Body");
    EXPECT_EQ(body->detail, "4 sommets, 4 faces, 1 matériau, skin de 1 os");
    EXPECT_EQ(RowNamed(rows, "Diffuse", static_cast<std::size_t>(rowIndex(plate)))->detail, "0.5 0.25 1 1");

    const ScenePartRow* missing = RowNamed(rows, "Texture", 0, "missing.png : non chargée : ");
    ASSERT_NE(missing, nullptr);
    EXPECT_NE(missing->detail.find("missing.png", 5), std::string::npos) << "the load's own message: " << missing->detail;
    EXPECT_EQ(missing->parent, rowIndex(plate) + 1) << "under the plate's material";
    const ScenePartRow* present = RowNamed(rows, "Texture", 0, "tiny.ppm");
    ASSERT_NE(present, nullptr);
    EXPECT_EQ(present->detail, "tiny.ppm : 2 × 1, PPM, 3 composantes");

    // A box ticked on a frame holds the meshes under it; one on a colour, its mesh.
    EXPECT_EQ(MeshesUnder(rows, static_cast<std::size_t>(rowIndex(root))),
              (std::vector<std::int32_t>{body->mesh, plate->mesh}));
    EXPECT_EQ(MeshesUnder(rows, static_cast<std::size_t>(rowIndex(RowNamed(rows, "Other")))), std::vector<std::int32_t>{});
    const auto colour = static_cast<std::size_t>(rowIndex(RowNamed(rows, "Diffuse", static_cast<std::size_t>(rowIndex(plate)))));
    EXPECT_EQ(OwningPart(rows, colour), static_cast<std::size_t>(rowIndex(plate)));
    EXPECT_EQ(MeshOfRow(rows, colour), plate->mesh);
    EXPECT_EQ(MeshOfRow(rows, static_cast<std::size_t>(rowIndex(hand))), -1);
}

TEST_F(SceneParts, AHiddenMeshLeavesEveryPathOfTheShellsFrameAndTheFit)
{
    const std::string path = folder.Write(
        "two.x", std::string("xof 0303txt 0032\nFrame Scene {\n") + kIdentity + Square("Left", -3, "1;0;0") +
                     "Frame Child {\n" + kIdentity + Square("Right", 1, "0;0;1") + "}\n}\n");
    shell.LoadAtStart(path);
    ASSERT_TRUE(state.currentModel);
    shell.OnCommand(command::FitView);
    const std::array<int, 2> both = RedAndBlue();
    ASSERT_GT(both[0], 200);
    ASSERT_GT(both[1], 200);

    shell.ShowMesh(1, false);
    for (const int pathCommand : {command::DisplayList, command::IndexedArrays, command::BufferObjects, 0}) {
        if (pathCommand != 0) shell.OnCommand(pathCommand);
        if (pathCommand == 0) shell.OnCommand(command::BufferObjects);  // off again: immediate mode
        const std::array<int, 2> hidden = RedAndBlue();
        EXPECT_EQ(hidden[1], 0) << "path " << pathCommand;
        EXPECT_EQ(hidden[0], both[0]) << "path " << pathCommand;
    }

    // The fit holds what is drawn: the left square alone, centred.
    shell.OnCommand(command::FitView);
    EXPECT_NEAR(state.viewFrame.centre.x, -2.0f, 0.01f);
    shell.ShowMesh(1, true);
    shell.OnCommand(command::FitView);
    const std::array<int, 2> shown = RedAndBlue();
    EXPECT_EQ(shown, both);

    // The chosen mesh's box, translucent over it: fewer pure red pixels, the
    // blue as it was. A new load forgets the choice and the hidden meshes.
    shell.SelectMesh(0);
    const std::array<int, 2> selected = RedAndBlue();
    EXPECT_LT(selected[0], shown[0] / 2);
    EXPECT_EQ(selected[1], shown[1]);
    shell.SelectMesh(7);
    EXPECT_EQ(options.selectedMesh, -1) << "no such mesh";
    shell.SelectMesh(0);
    shell.ShowMesh(1, false);
    shell.OnCommand(command::Reload);
    EXPECT_EQ(options.selectedMesh, -1);
    EXPECT_TRUE(state.currentModel->MeshShown(1));

    // F9: the panel's switch is in the value, its mark follows.
    shell.OnCommand(command::ScenePanel);
    EXPECT_TRUE(options.scenePanel);
    EXPECT_TRUE(menu.IsChecked(command::ScenePanel));
}

}  // namespace
