#include "app/CommandLine.h"
#include "platform/Version.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string PathOf(std::initializer_list<const char*> arguments)
{
    const std::vector<const char*> argv(arguments);
    return ParseViewerCommandLine(static_cast<int>(argv.size()), argv.data()).modelPath;
}

TEST(CommandLineTest, ArgumentsAreJoinedVerbatim)
{
    EXPECT_EQ(PathOf({"pelmora"}), "");
    EXPECT_EQ(PathOf({"pelmora", "models/ship.x"}), "models/ship.x");

    // A path the shell split at its blanks comes back whole; quotes, inner
    // and trailing blanks, and words that look like options stay as given.
    EXPECT_EQ(PathOf({"/usr/bin/pelmora", "My", "Models/ship", "one.x"}), "My Models/ship one.x");
    EXPECT_EQ(PathOf({"pelmora", "\"a b.x\"", ":1 ", ""}), "\"a b.x\" :1  ");
    // After "--", words that look like options are the path's too.
    EXPECT_EQ(PathOf({"pelmora", "--", "--display", ":1"}), "--display :1");
}

TEST(CommandLineTest, AnUnknownOptionAnywhereIsAWrongCommandLine)
{
    for (const std::vector<const char*>& argv : {std::vector<const char*>{"pelmora", "--bogus"},
                                                 {"pelmora", "tiger.x", "--bogus"},
                                                 {"pelmora", "--display", ":1", "ship.x"},
                                                 {"pelmora", "--up", "x", "ship.x"},
                                                 {"pelmora", "ship.x", "--up"}}) {
        const ViewerCommandLine parsed = ParseViewerCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_TRUE(parsed.exit) << argv[1];
        EXPECT_EQ(parsed.exitStatus, 2) << argv[1];
        EXPECT_EQ(parsed.output.rfind("pelmora: ", 0), 0u) << parsed.output;
        EXPECT_NE(parsed.output.find("Usage: pelmora"), std::string::npos);
    }
}

TEST(CommandLineTest, HelpAndVersionEndTheProgram)
{
    const char* help[] = {"pelmora", "--help", "ship.x"};
    const ViewerCommandLine asked = ParseViewerCommandLine(3, help);
    EXPECT_TRUE(asked.exit);
    EXPECT_EQ(asked.exitStatus, 0);
    EXPECT_NE(asked.output.find("Usage: pelmora"), std::string::npos);
    const char* version[] = {"pelmora", "--version"};
    EXPECT_EQ(ParseViewerCommandLine(2, version).output, std::string("pelmora ") + platform::kVersion + "\n");
}

TEST(CommandLineTest, ViewSwitchesStandAnywhere)
{
    const char* both[] = {"pelmora", "--fit", "My", "--up", "z", "ship.x", "--as-authored", "--vertex-colors"};
    const ViewerCommandLine parsed = ParseViewerCommandLine(8, both);
    EXPECT_FALSE(parsed.exit);
    EXPECT_TRUE(parsed.asAuthored && parsed.fit && parsed.vertexColors && parsed.upZ);
    EXPECT_EQ(parsed.modelPath, "My ship.x");
    const char* late[] = {"pelmora", "tiger.x", "--fit", "--up=y"};
    EXPECT_TRUE(ParseViewerCommandLine(4, late).fit);
    EXPECT_FALSE(ParseViewerCommandLine(4, late).upZ);
    EXPECT_EQ(ParseViewerCommandLine(4, late).modelPath, "tiger.x");
    const char* none[] = {"pelmora", "--as-authored"};
    const ViewerCommandLine bare = ParseViewerCommandLine(2, none);
    EXPECT_EQ(bare.modelPath, "");
    EXPECT_FALSE(bare.fit || bare.vertexColors || bare.upZ);
}

// The desktop entry's command opens its file as authored and framed.
TEST(CommandLineTest, TheDesktopEntryOpensAFileAsAuthoredAndFramed)
{
    std::ifstream entry(PELMORA_SAMPLES_DIR "/../app/desktop/pelmora.desktop");
    std::string line;
    while (std::getline(entry, line) && line.rfind("Exec=", 0) != 0) {}
    std::istringstream words(line.substr(std::min<std::size_t>(line.size(), 5)));
    std::vector<std::string> argv;
    for (std::string word; words >> word;) argv.push_back(word == "%f" ? "ship.x" : word);
    std::vector<const char*> pointers;
    for (const std::string& word : argv) pointers.push_back(word.c_str());
    const ViewerCommandLine parsed = ParseViewerCommandLine(static_cast<int>(pointers.size()), pointers.data());
    EXPECT_TRUE(parsed.asAuthored && parsed.fit && !parsed.exit && parsed.modelPath == "ship.x") << line;
}

}  // namespace
