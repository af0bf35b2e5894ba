// Why a file does not load, as the read gives it back: the kind, the reason
// a tool prints and the messages in the order the viewer shows them. The read
// itself shows nothing.
#include "model/file/ModelFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace platform {
void PrintTo(const Message& message, std::ostream* out) { *out << message.caption << ": " << message.text; }
}  // namespace platform

namespace {

using namespace std::string_literals;

const platform::Message kHeaderRefused{"Ce faichier n'est pas un fichier DirectX .X txt", "Erreur",
                                       platform::MessageKind::Warning};

platform::Message Warning(const std::string& text) { return {text, "Erreur", platform::MessageKind::Warning}; }

// Both entries read `bytes` (the file through its path) and refuse it the same way.
LoadError RefusalOf(const testing_support::TempDir& folder, const std::string& name, const std::string& bytes)
{
    const ModelOrError fromFile = ReadModelFile(folder.Write(name, bytes));
    const ModelOrError fromMemory = ReadModelBytes((folder.path() / name).string(), bytes);
    EXPECT_FALSE(fromFile) << name;
    EXPECT_FALSE(fromMemory) << name;
    if (fromFile || fromMemory) return {};
    EXPECT_EQ(fromFile.error().kind, fromMemory.error().kind) << name;
    EXPECT_EQ(fromFile.error().messages, fromMemory.error().messages) << name;
    return fromFile.error();
}

class LoadErrors : public testing::Test {
protected:
    testing_support::MessageRecorder recorder;
    testing_support::TempDir folder;

    // Nothing reaches the message sink while a file is read: its caller shows.
    void TearDown() override { EXPECT_TRUE(recorder.messages().empty()); }
};

TEST_F(LoadErrors, AFileThatCannotBeOpenedOrReadSaysWhyAndHasNothingToShow)
{
    const std::string plain = folder.Write("plain.x", "xof 0303txt 0032\n");
    const struct {
        std::string path;
        LoadErrorKind kind;
        std::string reason;
    } cases[] = {
        {(folder.path() / "none.x").string(), LoadErrorKind::NoSuchFile, "no such file"},
        {plain + "/inside.x", LoadErrorKind::NoSuchFile, "no such file"},
        {folder.path().string(), LoadErrorKind::NotReadable, "a folder, not a file"},
        {"/dev/null", LoadErrorKind::NotReadable, "not a regular file"},
    };
    for (const auto& c : cases) {
        const ModelOrError read = ReadModelFile(c.path);
        ASSERT_FALSE(read) << c.path;
        EXPECT_EQ(read.error().kind, c.kind) << c.path;
        EXPECT_EQ(read.error().reason, c.reason) << c.path;
        EXPECT_TRUE(read.error().messages.empty()) << c.path;
    }
}

TEST_F(LoadErrors, AFileWithoutReadPermissionIsNotReadable)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    const std::string locked = folder.Write("locked.x", "xof 0303txt 0032\n");
    chmod(locked.c_str(), 0);
    const ModelOrError read = ReadModelFile(locked);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, LoadErrorKind::NotReadable);
    EXPECT_EQ(read.error().reason, "not readable (Permission denied)");
}

// A file whose size promises more than a read gives (a kernel attribute file
// says 4096 bytes and holds a line) is not read on from a short read.
TEST_F(LoadErrors, AFileShorterThanItsSizeIsNotReadable)
{
    const std::string attribute = "/sys/kernel/mm/transparent_hugepage/enabled";
    struct stat status {};
    if (stat(attribute.c_str(), &status) != 0 || status.st_size != 4096) GTEST_SKIP() << "no " << attribute;
    const ModelOrError read = ReadModelFile(attribute);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, LoadErrorKind::NotReadable);
    EXPECT_EQ(read.error().reason, "not readable (it ended before its size)");
    EXPECT_TRUE(read.error().messages.empty());
}

TEST_F(LoadErrors, TheTextReadersRefusalsHoldTheirMessages)
{
    const LoadError notAModel = RefusalOf(folder, "notes.x", "this is not a model\n");
    EXPECT_EQ(notAModel.kind, LoadErrorKind::NotAModel);
    EXPECT_EQ(notAModel.reason, "not a model it can read");
    EXPECT_EQ(notAModel.messages, std::vector{kHeaderRefused});

    const LoadError braces = RefusalOf(folder, "braces.x", "xof 0303txt 0032\nMesh {\n");
    EXPECT_EQ(braces.kind, LoadErrorKind::Refused);
    EXPECT_EQ(braces.messages, std::vector{Warning("Erreur de chargement, les bloques {} ne sont pas valide.")});

    const LoadError count = RefusalOf(folder, "count.x", "xof 0303txt 0032\n// made by hand\nMesh Box {\n -3;\n}\n");
    EXPECT_EQ(count.kind, LoadErrorKind::Refused);
    EXPECT_EQ(count.reason, "not a model it can read");
    EXPECT_EQ(count.messages, std::vector{Warning("Erreur de chargement, le nombre d'éléments (-3) de l'objet Mesh "
                                                  "\"Box\" à la ligne 4 est négatif. Model::ReadMesh")});
}

TEST_F(LoadErrors, TheBinaryReadersRefusalsHoldTheirMessages)
{
    // A token the format does not have, right after the header.
    const LoadError binary = RefusalOf(folder, "binary.x", "xof 0303bin 0032\x7f\0"s);
    EXPECT_EQ(binary.kind, LoadErrorKind::Refused);
    EXPECT_EQ(binary.messages, std::vector{Warning("Erreur de chargement, le jeton 127 à l'octet 16 est inconnu. "
                                                   "xfile::ReadBinaryObjects")});
    // A compressed file whose one block is no MSZIP block.
    const LoadError compressed = RefusalOf(folder, "compressed.x", "xof 0303tzip0032\x20\0\0\0\x08\0\x08\0CKnotzip"s);
    EXPECT_EQ(compressed.kind, LoadErrorKind::Refused);
    EXPECT_EQ(compressed.messages, std::vector{Warning("Erreur de chargement, le bloc compressé 1 à l'octet 20 est "
                                                       "endommagé (invalid block type). xfile::InflateMszip")});
}

TEST_F(LoadErrors, AFileOf4GiBOrMoreIsTooLarge)
{
    const std::string large = folder.Write("large.x", "xof 0303txt 0032\n");
    std::filesystem::resize_file(large, std::uintmax_t{1} << 32);  // sparse: no disk is written
    const ModelOrError read = ReadModelFile(large);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, LoadErrorKind::TooLarge);
    EXPECT_EQ(read.error().reason, "too large (4 GiB or more)");
    EXPECT_EQ(read.error().messages,
              std::vector{Warning("Le fichier " + large + " est trop volumineux (4 Go ou plus). Model::ReadFile")});
}

}  // namespace
