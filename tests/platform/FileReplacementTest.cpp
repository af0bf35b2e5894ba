#include "platform/FileReplacement.h"
#include "platform/PngFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

std::vector<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

unsigned ModeOf(const std::string& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

const std::string kOld(100, 'o');
const std::string kNew(4000, 'n');  // past the size limit of the failing writes

}  // namespace

TEST(FileReplacement, AFailedWriteLeavesTheEarlierFileAndNothingElse)
{
    TempDir folder;
    const std::string path = folder.Write("report.txt", kOld);
    {
        const testing_support::ScopedFileSizeLimit limit(1000);
        EXPECT_EQ(platform::WriteFileWhole(path, kNew), std::strerror(EFBIG));
    }
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"report.txt"});

    // A folder that is not there: the reason, and no file made.
    EXPECT_EQ(platform::WriteFileWhole((folder.path() / "none" / "x.txt").string(), kNew), std::strerror(ENOENT));
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"report.txt"});

    // A replacement never committed leaves nothing either.
    {
        platform::FileReplacement abandoned(path);
        abandoned.Write(kNew);
    }
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"report.txt"});
}

TEST(FileReplacement, ASuccessfulWriteReplacesTheFileWholeKeepingItsPermissions)
{
    TempDir folder;
    const std::string path = folder.Write("report.txt", kOld + kOld);
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(platform::WriteFileWhole(path, kNew.substr(0, 10)), "");
    EXPECT_EQ(ReadFileBytes(path), kNew.substr(0, 10));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"report.txt"});
}

TEST(PngFile, APictureThatCannotBeWrittenLeavesTheEarlierOneWithTheSystemsReason)
{
    TempDir folder;
    const std::string path = folder.Write("picture.png", kOld);
    const int side = 64;
    std::vector<std::uint8_t> noise(side * side * 4);
    std::mt19937 random(7);
    for (auto& sample : noise) sample = static_cast<std::uint8_t>(random());
    {
        const testing_support::ScopedFileSizeLimit limit(1000);  // the noise compresses to more
        EXPECT_EQ(platform::WritePng(path, side, side, noise), std::strerror(EFBIG));
    }
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"picture.png"});

    EXPECT_EQ(platform::WritePng(path, side, side, noise, platform::PngAlpha::Keep), "");
    const std::vector<std::uint8_t> encoded = platform::EncodePng(side, side, noise, 4);
    EXPECT_EQ(ReadFileBytes(path), std::string(encoded.begin(), encoded.end()));
    EXPECT_TRUE(platform::EncodePng(side, side, noise, 5).empty());
    EXPECT_TRUE(platform::EncodePng(side, side + 1, noise, 4).empty());
}
