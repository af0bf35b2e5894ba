// The lines the walk visits are found two ways: while the text is split, and
// again from lines set by other means. Both must agree, and agree with the
// public checks they stand for.
#include "model/LineMarks.h"
#include "model/SignificantLines.h"
#include "ReaderFixture.h"

#include <filesystem>

namespace {

void ExpectSameMarks(const LineMarks& a, const LineMarks& b, const std::string& what)
{
    EXPECT_EQ(a.meshLines, b.meshLines) << what;
    EXPECT_EQ(a.materialLinesBeforeMesh, b.materialLinesBeforeMesh) << what;
    ASSERT_EQ(a.braceLines.size(), b.braceLines.size()) << what;
    for (std::size_t k = 0; k < a.braceLines.size(); ++k) {
        EXPECT_EQ(a.braceLines[k].line, b.braceLines[k].line) << what;
        EXPECT_EQ(a.braceLines[k].opens, b.braceLines[k].opens) << what;
        EXPECT_EQ(a.braceLines[k].closes, b.braceLines[k].closes) << what;
    }
}

// Splits `text` both ways and checks the marks against the public counts.
void CheckBothWays(const std::string& text, const std::string& what)
{
    testing_support::MessageRecorder recorder;
    Model model;
    model.text = text;
    SplitText split = SplitSignificantLines(model.text);
    model.lines = split.lines;
    ExpectSameMarks(split.marks, FindLineMarks(model), what);
    EXPECT_EQ(split.marks.meshLines, model.CountObjects("Mesh")) << what;
    EXPECT_EQ(split.marks.materialLinesBeforeMesh, model.CountObjects("Material", "Mesh")) << what;

    std::int32_t opening = 0, closing = 0;
    for (std::int32_t i = 0; i < model.lineCount(); ++i) {
        opening += model.Line(i).find('{') != std::string_view::npos;
        closing += model.Line(i).find('}') != std::string_view::npos;
    }
    std::int32_t marked = 0;
    for (const BraceLine& line : split.marks.braceLines) marked += line.opens - line.closes;
    EXPECT_EQ(marked, opening - closing) << what;
}

TEST(LineMarks, AgreeOnTrickyText)
{
    CheckBothWays("xof 0303txt 0032\r\n# Mesh { in a comment }\n  // {\nmaterial A {\n}\nMATERIAL\tB {\n}\nMeshes {\n}\n"
                  "  Mesh\n{\n  {m}\n}\nMaterial C {}\n}{\nmesh\n}\n{ last",
                  "tricky text");
    CheckBothWays("", "empty text");
    CheckBothWays("{", "one brace, no line feed");
    std::string longLine(70000, 'm');
    CheckBothWays("Mesh " + longLine + " {\n}\n", "long line");
}

TEST(LineMarks, AgreeOnEveryCorpusFile)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(testing_support::CorpusPath(""))) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || (name.size() < 2 || (name.substr(name.size() - 2) != ".x" &&
                                                              name.substr(name.size() - 2) != ".X")))
            continue;
        CheckBothWays(testing_support::ReadFileBytes(entry.path().string()), name);
    }
}

TEST_F(ReaderTest, ParsingLinesSetByHandReadsLikeReadingTheFile)
{
    const std::string file = testing_support::ReadFileBytes(testing_support::SamplePath("cube.x"));
    ASSERT_EQ(model.ReadMemory("cube.x", file), S_OK);

    Model byHand;
    byHand.text = file;
    byHand.lines = FindSignificantLines(byHand.text);
    ASSERT_EQ(byHand.Parse(), S_OK);
    ASSERT_EQ(byHand.meshes.size(), model.meshes.size());
    EXPECT_EQ(byHand.meshes[0].faces, model.meshes[0].faces);
    EXPECT_EQ(*byHand.meshes[0].faceMaterials, *model.meshes[0].faceMaterials);
    EXPECT_EQ(byHand.sharedMaterialCount, model.sharedMaterialCount);
    EXPECT_EQ(byHand.CheckBraces(), S_OK);

    byHand.text += "\n}\n{\n";  // balanced in number, but closes a block that is not open
    byHand.lines = FindSignificantLines(byHand.text);
    EXPECT_EQ(byHand.CheckBraces(), E_FAIL);
    ExpectOneError("Erreur de chargement, les bloques {} ne sont pas valide.");
}

}  // namespace
