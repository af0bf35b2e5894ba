#include "model/text/SignificantLines.h"
#include "model/text/TextHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(TextHelpers, SplitWordsAtSpacesOnlyAndCountsEveryWord)
{
    const Words words = SplitWords("  Mesh   Box\t{  // a  b ");
    EXPECT_EQ(words.count, 5);
    EXPECT_EQ(words[0], "Mesh");
    EXPECT_EQ(words[1], "Box\t{");  // a tab belongs to its word
    EXPECT_EQ(words[2], "//");
    EXPECT_EQ(words[3], "a");
    EXPECT_EQ(words[4], "");  // beyond the words kept
    EXPECT_EQ(SplitWords("").count, 0);
    EXPECT_EQ(SplitWords("    ").count, 0);
}

TEST(TextHelpers, TrimAndCut)
{
    EXPECT_EQ(TrimBlanks(" \t a b \t "), "a b");
    EXPECT_EQ(TrimBlanks(" \t "), "");
    EXPECT_EQ(TrimBlanks("\ra\r"), "\ra\r");  // only spaces and tabs are blanks

    EXPECT_EQ(CutThrough("3;0,1,2;,", ';'), "0,1,2;,");
    EXPECT_EQ(CutThrough("abc", ';'), "abc");
    EXPECT_EQ(CutThrough("abc;", ';'), "");
    EXPECT_EQ(CutThroughCommaOrSemicolon("1;2,3"), "2,3");
    EXPECT_EQ(CutThroughCommaOrSemicolon("1,2;3"), "2;3");
    EXPECT_EQ(CutThroughCommaOrSemicolon("123"), "123");
}

TEST(TextHelpers, ComparesIgnoringAsciiCaseOnly)
{
    EXPECT_TRUE(platform::EqualIgnoringAsciiCase("MeshMaterialList", "meshmateriallist"));
    EXPECT_TRUE(platform::EqualIgnoringAsciiCase("", ""));
    EXPECT_FALSE(platform::EqualIgnoringAsciiCase("Mesh", "Meshes"));
    EXPECT_FALSE(platform::EqualIgnoringAsciiCase("[", "{"));  // '[' is 'Z' + 1, not a letter
    EXPECT_FALSE(platform::EqualIgnoringAsciiCase("\xc3\xa9", "\xc3\x89"));  // é and É differ beyond ASCII
}

std::vector<std::string> LineTexts(std::string_view text)
{
    std::vector<std::string> texts;
    const LineTable lines = SplitSignificantLines(text).lines;
    for (std::size_t k = 0; k < lines.size(); ++k) texts.emplace_back(text.substr(lines[k].begin, lines[k].length));
    return texts;
}

TEST(SignificantLines, DropBlankAndCommentLinesAndLineEnds)
{
    const std::string text = "\r\n  # comment\n\t// comment\n \t \nxof 0303txt 0032\r\n  /x stays \n/ \n  a  b\t\r\nlast";
    EXPECT_EQ(LineTexts(text), (std::vector<std::string>{"xof 0303txt 0032", "/x stays", "/", "a  b", "last"}));
    EXPECT_TRUE(LineTexts("").empty());
    EXPECT_TRUE(LineTexts("\n\n# only\n").empty());
    // A carriage return inside a line is kept; one closing the file is dropped.
    EXPECT_EQ(LineTexts("a\rb\nc\r"), (std::vector<std::string>{"a\rb", "c"}));
}

TEST(SignificantLines, KeepVeryLongLinesWhole)
{
    const std::string longLine(10000, 'x');
    const auto lines = LineTexts("a\n" + longLine + "\nb");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], longLine);
}

}  // namespace
