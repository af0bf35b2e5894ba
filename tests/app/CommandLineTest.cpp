#include "app/CommandLine.h"
#include "platform/Version.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(PathOf({"pelmora", "\"a b.x\"", "--display", ":1 ", ""}), "\"a b.x\" --display :1  ");
    EXPECT_EQ(PathOf({"pelmora", "--display", ":1"}), "--display :1");
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

TEST(CommandLineTest, ViewSwitchesComeBeforeThePath)
{
    const char* both[] = {"pelmora", "--fit", "--as-authored", "My", "ship.x"};
    const ViewerCommandLine parsed = ParseViewerCommandLine(5, both);
    EXPECT_TRUE(parsed.asAuthored && parsed.fit);
    EXPECT_EQ(parsed.modelPath, "My ship.x");
    // After the first other word, everything belongs to the path.
    const char* late[] = {"pelmora", "ship.x", "--fit"};
    EXPECT_FALSE(ParseViewerCommandLine(3, late).fit);
    EXPECT_EQ(ParseViewerCommandLine(3, late).modelPath, "ship.x --fit");
    const char* none[] = {"pelmora", "--as-authored"};
    EXPECT_EQ(ParseViewerCommandLine(2, none).modelPath, "");
}

}  // namespace
