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

}  // namespace
