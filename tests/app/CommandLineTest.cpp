#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, ArgumentsAreJoinedVerbatim)
{
    const char* none[] = {"pelmora", nullptr};
    EXPECT_EQ(JoinCommandLine(1, none), "");

    const char* one[] = {"pelmora", "models/ship.x", nullptr};
    EXPECT_EQ(JoinCommandLine(2, one), "models/ship.x");

    // A path the shell split at its blanks comes back whole; quotes, inner
    // and trailing blanks, and words that look like options stay as given.
    const char* many[] = {"/usr/bin/pelmora", "My", "Models/ship", "one.x", nullptr};
    EXPECT_EQ(JoinCommandLine(4, many), "My Models/ship one.x");
    const char* odd[] = {"pelmora", "\"a b.x\"", "--display", ":1 ", "", nullptr};
    EXPECT_EQ(JoinCommandLine(5, odd), "\"a b.x\" --display :1  ");
}

TEST(CommandLineTest, ViewSwitchesComeBeforeThePath)
{
    const char* both[] = {"pelmora", "--fit", "--as-authored", "My", "ship.x", nullptr};
    const ViewerCommandLine parsed = ParseViewerCommandLine(5, both);
    EXPECT_TRUE(parsed.asAuthored && parsed.fit);
    EXPECT_EQ(parsed.modelPath, "My ship.x");
    // After the first other word, everything belongs to the path.
    const char* late[] = {"pelmora", "ship.x", "--fit", nullptr};
    EXPECT_FALSE(ParseViewerCommandLine(3, late).fit);
    EXPECT_EQ(ParseViewerCommandLine(3, late).modelPath, "ship.x --fit");
    const char* none[] = {"pelmora", "--as-authored", nullptr};
    EXPECT_EQ(ParseViewerCommandLine(2, none).modelPath, "");
}

}  // namespace
