// MSZIP files: blocks that copy from the blocks before them, and files whose
// blocks or sizes cannot be right.
#include "model/binary/Mszip.h"
#include "tools/xfile_writer/MszipWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes TextFile(const std::string& body) { return Bytes(body.begin(), body.end()); }

// 100 KiB of text: 3000 varied bytes, then that passage again and again,
// so later blocks copy from earlier ones.
Bytes RepeatedText()
{
    std::string passage;
    for (int i = 0; passage.size() < 3000; ++i) passage += std::to_string(i * 7919 % 10007) + (i % 5 ? ";" : ";,\n");
    std::string text = "xof 0303txt 0032\n";
    while (text.size() < 100 * 1024) text += passage;
    return TextFile(text);
}

std::size_t BlockCount(const Bytes& compressed)
{
    std::size_t count = 0;
    for (std::size_t at = 20; at + 4 <= compressed.size(); ++count) at += 4 + (compressed[at + 2] | compressed[at + 3] << 8);
    return count;
}

void PutLe(Bytes& bytes, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(Mszip, InflatesBlocksThatCopyFromTheBlocksBeforeThem)
{
    const Bytes text = RepeatedText();
    for (const std::size_t blockBytes : {std::size_t{32768}, std::size_t{1000}}) {
        const Bytes compressed = xfile::CompressMszip(text, blockBytes);
        ASSERT_EQ(std::string(compressed.begin(), compressed.begin() + 16), "xof 0303tzip0032");
        ASSERT_GE(BlockCount(compressed), 4u);
        // Every block after the first holds only copies: without the blocks
        // before it as dictionary it would need far more bytes.
        EXPECT_LT(compressed.size(), 3000 + 60 * BlockCount(compressed)) << blockBytes;

        xfile::FileBytes inflated;
        std::string error;
        ASSERT_TRUE(xfile::InflateMszip(compressed, inflated, error)) << error;
        EXPECT_EQ(Bytes(inflated.begin(), inflated.end()), text) << "header rewritten to \"txt \", then the text as it was";
    }

    // Stored (level 0) blocks, and a binary file whose header becomes "bin ".
    Bytes binary = TextFile("xof 0303bin 0064");
    for (int i = 0; i < 70000; ++i) binary.push_back(static_cast<std::uint8_t>(i * 131 >> 3));
    const Bytes stored = xfile::CompressMszip(binary, 32768, 0);
    ASSERT_EQ(std::string(stored.begin() + 8, stored.begin() + 16), "bzip0064");
    xfile::FileBytes inflated;
    std::string error;
    ASSERT_TRUE(xfile::InflateMszip(stored, inflated, error)) << error;
    EXPECT_EQ(Bytes(inflated.begin(), inflated.end()), binary);

    // A file of nothing but its header: a declared size of 16, no block.
    const Bytes empty = xfile::CompressMszip(TextFile("xof 0303txt 0032"));
    ASSERT_EQ(empty.size(), 20u);
    ASSERT_TRUE(xfile::InflateMszip(empty, inflated, error)) << error;
    EXPECT_EQ(Bytes(inflated.begin(), inflated.end()), TextFile("xof 0303txt 0032"));
}

// A three-block file of 300 text bytes in blocks of 128.
Bytes SmallCompressed()
{
    std::string text = "xof 0303txt 0032\n";
    for (int i = 0; text.size() < 300; ++i) text += "Frame F" + std::to_string(i) + " { }\n";
    text.resize(300);
    return xfile::CompressMszip(TextFile(text), 128);
}

TEST(Mszip, RefusesEveryCutOfAFile)
{
    const Bytes whole = SmallCompressed();
    ASSERT_EQ(BlockCount(whole), 3u);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        xfile::FileBytes inflated{1, 2, 3};
        std::string error;
        EXPECT_FALSE(xfile::InflateMszip(Bytes(whole.begin(), whole.begin() + size), inflated, error)) << size;
        EXPECT_TRUE(inflated.empty());
        EXPECT_EQ(error.rfind("Erreur de chargement, ", 0), 0u) << error;
        const std::string operation = size < 16 ? ". xfile::ReadHeader" : ". xfile::InflateMszip";
        EXPECT_TRUE(error.ends_with(operation)) << size << ": " << error;
    }
}

struct Damage {
    const char* what;
    void (*apply)(Bytes&);
    const char* message;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.what; }

class MszipDamage : public testing::TestWithParam<Damage> {};

// The message with the offsets of the undamaged file in place of %BLOCK2%,
// %BLOCK3%, %LEFT1%, %LEFT2% and %END%.
std::string Expected(std::string message, const Bytes& file);

TEST_P(MszipDamage, IsRefusedWithItsMessage)
{
    Bytes file = SmallCompressed();
    const std::string expected = Expected(GetParam().message, file);
    GetParam().apply(file);
    xfile::FileBytes inflated{1};
    std::string error;
    EXPECT_FALSE(xfile::InflateMszip(file, inflated, error));
    EXPECT_TRUE(inflated.empty());
    EXPECT_EQ(error, expected);
}

// The first block starts at byte 20 and holds 128 bytes; the second starts at
// `Second(file)`; the whole file stands for 300.
std::size_t Second(const Bytes& file) { return 24 + (file[22] | file[23] << 8); }

std::string Expected(std::string message, const Bytes& file)
{
    const std::size_t second = Second(file);
    const std::size_t third = second + 4 + (file[second + 2] | file[second + 3] << 8);
    const std::pair<const char*, std::size_t> values[] = {{"%BLOCK2%", second},
                                                          {"%BLOCK3%", third},
                                                          {"%LEFT1%", file.size() - 24},
                                                          {"%LEFT2%", file.size() - second - 4},
                                                          {"%END%", file.size()}};
    for (const auto& [name, value] : values)
        if (const auto at = message.find(name); at != std::string::npos)
            message.replace(at, std::strlen(name), std::to_string(value));
    return message;
}

INSTANTIATE_TEST_SUITE_P(
    LyingSizesAndBrokenBlocks, MszipDamage,
    testing::Values(
        Damage{"DeclaredSizeTooLarge", [](Bytes& f) { PutLe(f, 16, 301, 4); },
               "Erreur de chargement, les blocs compressés donnent 300 octets, moins que les 301 que le fichier "
               "annonce. xfile::InflateMszip"},
        Damage{"DeclaredSizeTooSmall", [](Bytes& f) { PutLe(f, 16, 299, 4); },
               "Erreur de chargement, le bloc compressé 3 à l'octet %BLOCK3% mène à 300 octets, plus que les 299 que "
               "le fichier annonce. xfile::InflateMszip"},
        Damage{"DeclaredSizeBelowTheHeader", [](Bytes& f) { PutLe(f, 16, 15, 4); },
               "Erreur de chargement, la taille décompressée annoncée (15 octets) est plus petite que l'en-tête. "
               "xfile::InflateMszip"},
        Damage{"CompressedSizePastTheFile", [](Bytes& f) { PutLe(f, Second(f) + 2, 0xffff, 2); },
               "Erreur de chargement, le bloc compressé 2 à l'octet %BLOCK2% annonce 65535 octets compressés, alors "
               "que %LEFT2% octets restent dans le fichier. xfile::InflateMszip"},
        Damage{"CompressedSizeWithoutRoomForTheSignature", [](Bytes& f) { PutLe(f, 22, 1, 2); },
               "Erreur de chargement, le bloc compressé 1 à l'octet 20 annonce 1 octets compressés, alors que %LEFT1% "
               "octets restent dans le fichier. xfile::InflateMszip"},
        Damage{"NoSignature", [](Bytes& f) { f[Second(f) + 5] = 'X'; },
               "Erreur de chargement, le bloc compressé 2 à l'octet %BLOCK2% n'a pas la signature \"CK\". "
               "xfile::InflateMszip"},
        Damage{"BlockYieldsMoreThanItSays", [](Bytes& f) { PutLe(f, 20, 127, 2); },
               "Erreur de chargement, le bloc compressé 1 à l'octet 20 donne plus que les 127 octets qu'il annonce. "
               "xfile::InflateMszip"},
        Damage{"BlockYieldsLessThanItSays",
               [](Bytes& f) {
                   PutLe(f, 20, 129, 2);
                   PutLe(f, 16, 301, 4);
               },
               "Erreur de chargement, le bloc compressé 1 à l'octet 20 donne 128 octets au lieu des 129 qu'il "
               "annonce. xfile::InflateMszip"},
        Damage{"DeflateDataDamaged", [](Bytes& f) { f[26] = 0xff; },
               "Erreur de chargement, le bloc compressé 1 à l'octet 20 est endommagé (invalid block type). "
               "xfile::InflateMszip"},
        Damage{"BytesAfterTheLastBlock", [](Bytes& f) { f.insert(f.end(), {1, 0, 3}); },
               "Erreur de chargement, le bloc compressé 4 à l'octet %END% est coupé par la fin du fichier (3 octets "
               "sur les 6 de son en-tête). xfile::InflateMszip"},
        Damage{"NotCompressed", [](Bytes& f) { std::memcpy(f.data() + 8, "txt ", 4); },
               "Erreur de chargement, ce fichier .x n'est pas compressé (format \"tzip\" ou \"bzip\" attendu). "
               "xfile::InflateMszip"}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

}  // namespace
