// The lines holding braces, which the walk visits, as the splitter notes them
// while it finds the lines: they must agree with the lines' own text, whether
// the text comes whole or piece by piece (as a file is read).
#include "model/text/SignificantLines.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void ExpectSameSplit(const SplitText& a, const SplitText& b, const std::string& what)
{
    ASSERT_EQ(a.lines.size(), b.lines.size()) << what;
    for (std::size_t k = 0; k < a.lines.size(); ++k) {
        EXPECT_EQ(a.lines[k].begin, b.lines[k].begin) << what;
        EXPECT_EQ(a.lines[k].length, b.lines[k].length) << what;
    }
    ASSERT_EQ(a.braceLines.size(), b.braceLines.size()) << what;
    for (std::size_t k = 0; k < a.braceLines.size(); ++k) {
        EXPECT_EQ(a.braceLines[k].line, b.braceLines[k].line) << what;
        EXPECT_EQ(a.braceLines[k].opens, b.braceLines[k].opens) << what;
        EXPECT_EQ(a.braceLines[k].closes, b.braceLines[k].closes) << what;
    }
}

void CheckMarks(const std::string& text, const std::string& what)
{
    const SplitText whole = SplitSignificantLines(text);
    SplitText expected;
    expected.lines = whole.lines;
    for (std::size_t k = 0; k < whole.lines.size(); ++k) {
        const std::string_view line = std::string_view(text).substr(whole.lines[k].begin, whole.lines[k].length);
        const bool opens = line.find('{') != std::string_view::npos;
        const bool closes = line.find('}') != std::string_view::npos;
        if (opens || closes) expected.braceLines.push_back({static_cast<std::int32_t>(k), opens, closes});
    }
    ExpectSameSplit(whole, expected, what);

    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{16}, std::size_t{4096}}) {
        LineSplitter splitter(text.data());
        for (std::size_t at = 0; at < text.size(); at += piece)
            splitter.Feed(text.data() + at, text.data() + std::min(text.size(), at + piece));
        ExpectSameSplit(splitter.Finish(text.data() + text.size()), whole, what + " in pieces of " + std::to_string(piece));
    }
}

TEST(LineMarks, AgreeWithTheLinesOnTrickyText)
{
    CheckMarks("xof 0303txt 0032\r\n# Mesh { in a comment }\n  // {\nmaterial A {\n}\nMATERIAL\tB {\n}\nMeshes {\n}\n"
               "  Mesh\n{\n  {m}\n}\nMaterial C {}\n}{\nmesh\n}\n{ last",
               "tricky text");
    CheckMarks("", "empty text");
    CheckMarks("{", "one brace, no line feed");
    std::string longLine(70000, 'm');
    CheckMarks("Mesh " + longLine + " {\n}\n", "long line");
}

TEST(LineMarks, AgreeOnEveryCorpusFile)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(testing_support::CorpusPath(""))) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || (name.size() < 2 || (name.substr(name.size() - 2) != ".x" &&
                                                              name.substr(name.size() - 2) != ".X")))
            continue;
        CheckMarks(testing_support::ReadFileBytes(entry.path().string()), name);
    }
}

}  // namespace

namespace {

TEST(LineTable, FindsEveryLineOfItsPartsByNumberAndInTurn)
{
    // Parts of every size around the index's step of 4096 lines, an empty one
    // among them; each span names its own line.
    std::vector<LineTable> tables;
    std::uint32_t line = 0;
    for (const std::uint32_t size : {3u, 0u, 5000u, 1u, 4095u, 4097u, 2u}) {
        LineTable::Part part;
        for (std::uint32_t k = 0; k < size; ++k, ++line) part.push_back({line, 1});
        tables.emplace_back(std::move(part));
    }
    const LineTable joined = LineTable::Joined(tables);
    ASSERT_EQ(joined.size(), line);
    for (const std::uint32_t first : {0u, 2u, 3u, 4096u, 5003u, 9099u, line - 1}) {
        LineTable::Cursor cursor = joined.From(first);
        for (std::uint32_t k = first; k < line; ++k) {
            ASSERT_EQ(joined[k].begin, k);
            ASSERT_EQ(cursor.Next().begin, k) << "from " << first;
        }
        EXPECT_EQ(cursor.Next().length, 0u);  // past the last line
    }
    EXPECT_EQ(joined.From(line).Next().length, 0u);
}

}  // namespace
