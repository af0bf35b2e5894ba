// Binary token streams into data objects: what each record becomes, round
// trips through both float sizes, and streams that cannot be right.
#include "DocumentDifference.h"

#include "model/binary/BinaryObjects.h"
#include "model/binary/DocumentBuilder.h"
#include "tools/xfile_writer/BinaryWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "tools/xfile_writer/TokenWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using xfile::PartKind;
using xfile::Token;
using Bytes = std::vector<std::uint8_t>;

const xfile::Guid kGuid{0x3d82ab44, 0x62da, 0x11cf, {0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33}};

xfile::Document Read(const Bytes& file)
{
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadBinaryObjects(file, document, error)) << error;
    return document;
}

std::vector<PartKind> Kinds(const xfile::Document& document, const xfile::DataObject& object)
{
    std::vector<PartKind> kinds;
    for (const xfile::DataPart& part : document.PartsOf(object)) kinds.push_back(part.kind);
    return kinds;
}

TEST(BinaryObjects, RoundTripAtBothFloatSizesKeepsValuesAndOrder)
{
    // A material list whose slots are references and objects, mixed.
    xfile::Document written;
    xfile::DocumentBuilder build(written);
    build.OpenObject("Mesh", "Quad", kGuid);
    build.AppendIntegers(1)[0] = 4;
    const float vertices[] = {0.1f, -2.5f, 1e-30f, 3.4e38f, -0.0f, 7.0f};
    std::ranges::copy(vertices, build.AppendFloats(6).begin());
    build.AppendIntegers(2)[1] = 0xffffffffu;
    build.OpenObject("MeshMaterialList", "", std::nullopt);
    build.AppendIntegers(3)[0] = 3;
    build.AddReference({"Red", std::nullopt});
    build.AddReference({"Green", kGuid});
    build.OpenObject("Material", "Blue", std::nullopt);
    build.AppendFloats(1)[0] = 0.5f;
    build.AddString("blue.png");
    build.AddString("");
    build.CloseObject();
    build.AddReference({"", kGuid});
    build.CloseObject();
    build.CloseObject();
    build.OpenObject("Header", "", std::nullopt);
    build.CloseObject();

    for (const unsigned floatBytes : {4u, 8u}) {
        const xfile::Document read = Read(xfile::WriteBinary(written, floatBytes));
        EXPECT_EQ(xfile_testing::FirstDifference(written, read), "") << floatBytes;
        ASSERT_EQ(read.roots.size(), 2u);
        const xfile::DataObject& mesh = read.objects[read.roots[0]];
        EXPECT_EQ(mesh.guid, kGuid);
        // One integer, six floats, two integers, the list: three runs of numbers.
        EXPECT_EQ(Kinds(read, mesh), (std::vector{PartKind::Integers, PartKind::Floats, PartKind::Integers, PartKind::Object}));
        const xfile::DataObject& list = *read.ObjectOf(read.PartsOf(mesh)[3]);
        EXPECT_EQ(Kinds(read, list),
                  (std::vector{PartKind::Integers, PartKind::References, PartKind::Object, PartKind::References}));
        EXPECT_EQ(read.ReferencesOf(read.PartsOf(list)[1])[1], (xfile::Reference{"Green", kGuid}));
        EXPECT_EQ(read.StringsOf(read.PartsOf(read.objects[2])[1]).size(), 2u);
        EXPECT_TRUE(std::signbit(read.floats[4]));
        // The arrays hold what the file holds, no more.
        EXPECT_EQ(read.integers.capacity(), 6u);
        EXPECT_EQ(read.floats.capacity(), 7u);
    }
}

TEST(BinaryObjects, SkipsTemplatesAndReadsEveryRecordForm)
{
    xfile::TokenWriter out(8);
    out.Header()
        // A template with a GUID, an array member, restrictions in brackets.
        .Word(Token::Template).Name("Coords").Word(Token::OpenBrace).GuidRecord(kGuid)
        .Word(Token::Array).Word(Token::Float).Name("v").Word(Token::OpenBracket).Integer(3)
        .Word(Token::CloseBracket).Word(Token::Semicolon)
        .Word(Token::OpenBracket).Word(Token::Dot).Word(Token::Dot).Word(Token::Dot).Word(Token::CloseBracket)
        .Word(Token::CloseBrace)
        // An object typed by a primitive word; a lone integer before a list joins it.
        .Word(Token::Dword).Word(Token::OpenBrace).Integer(7).Integers(std::vector<std::uint32_t>{8, 9})
        .Word(Token::CloseBrace)
        // Strings ended by ",", by ";" and by a 32-bit wide ";"; a GUID-only
        // reference; empty lists, which hold nothing.
        .Name("Names").Name("list").Word(Token::OpenBrace).GuidRecord(kGuid)
        .String("a", Token::Comma).String("b").String("c").Raw16(0)
        .Word(Token::OpenBrace).GuidRecord(kGuid).Word(Token::CloseBrace)
        .Integers({}).Floats(std::vector<float>{1.5f}).Floats({})
        .Word(Token::CloseBrace);
    const xfile::Document read = Read(out.bytes());
    ASSERT_EQ(read.roots.size(), 2u);
    const xfile::DataObject& dword = read.objects[read.roots[0]];
    EXPECT_EQ(dword.type, "DWORD");
    ASSERT_EQ(dword.partCount, 1u);
    EXPECT_EQ(std::vector(read.IntegersOf(read.parts[dword.firstPart]).begin(), read.IntegersOf(read.parts[dword.firstPart]).end()),
              (std::vector<std::uint32_t>{7, 8, 9}));
    const xfile::DataObject& names = read.objects[read.roots[1]];
    EXPECT_EQ(names.name, "list");
    EXPECT_EQ(names.guid, kGuid);
    const auto parts = read.PartsOf(names);
    ASSERT_EQ(Kinds(read, names), (std::vector{PartKind::Strings, PartKind::References, PartKind::Floats}));
    EXPECT_EQ(std::vector(read.StringsOf(parts[0]).begin(), read.StringsOf(parts[0]).end()),
              (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(read.ReferencesOf(parts[1])[0], (xfile::Reference{"", kGuid}));
    EXPECT_EQ(read.FloatsOf(parts[2])[0], 1.5f);
}

// Nested frames, `depth` deep.
Bytes Nested(std::size_t depth)
{
    xfile::TokenWriter out;
    out.Header();
    for (std::size_t i = 0; i < depth; ++i) out.Name("Frame").Word(Token::OpenBrace);
    for (std::size_t i = 0; i < depth; ++i) out.Word(Token::CloseBrace);
    return out.Take();
}

TEST(BinaryObjects, NestsUpTo255Objects)
{
    EXPECT_EQ(Read(Nested(255)).objects.size(), 255u);
    xfile::Document document;
    std::string error;
    EXPECT_FALSE(xfile::ReadBinaryObjects(Nested(256), document, error));
    EXPECT_EQ(error, "Erreur de chargement, l'objet Frame à l'octet 3331 dépasse 255 niveaux d'objets imbriqués. "
                     "xfile::ReadBinaryObjects");
}

TEST(BinaryObjects, RefusesEveryCutThatEndsInsideAnObject)
{
    const char* const material = "xof 0303txt 0032\nMaterial Red { 1.0;0.0;0.0;1.0;; 8.0; TextureFilename { \"r.png\"; } }\n";
    const std::string frame = "Frame Root { FrameTransformMatrix { 1.0,0.0;; } Mesh { 1; 0.0;0.0;0.0;; 0; { Red } } }\n";
    xfile::Document first, both;
    std::string error;
    ASSERT_TRUE(xfile::ReadTextObjectsAnyLayout(material, first, error)) << error;
    ASSERT_TRUE(xfile::ReadTextObjectsAnyLayout(material + frame, both, error)) << error;
    const std::size_t boundary = xfile::WriteBinary(first).size();
    const Bytes whole = xfile::WriteBinary(both);
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        xfile::Document document;
        const bool read = xfile::ReadBinaryObjects(Bytes(whole.begin(), whole.begin() + size), document, error);
        // Only a cut between top-level objects leaves a whole file.
        const bool whole_objects = size == 16 || size == boundary || size == whole.size();
        ASSERT_EQ(read, whole_objects) << size << ": " << error;
        if (read) {
            EXPECT_EQ(document.roots.size(), size == 16 ? 0u : size == boundary ? 1u : 2u);
            continue;
        }
        EXPECT_TRUE(document.objects.empty() && document.parts.empty() && document.floats.empty()) << size;
        EXPECT_EQ(error.rfind("Erreur de chargement, ", 0), 0u) << error;
        EXPECT_TRUE(error.ends_with(size < 16 ? ". xfile::ReadHeader" : ". xfile::ReadBinaryObjects")) << error;
    }
}

struct BadStream {
    const char* what;
    Bytes file;
    const char* message;
};

void PrintTo(const BadStream& stream, std::ostream* out) { *out << stream.what; }

class BinaryRefusal : public testing::TestWithParam<BadStream> {};

TEST_P(BinaryRefusal, LeavesNothingAndSaysWhy)
{
    xfile::Document document;
    std::string error;
    EXPECT_FALSE(xfile::ReadBinaryObjects(GetParam().file, document, error));
    EXPECT_TRUE(document.objects.empty() && document.roots.empty() && document.integers.empty());
    EXPECT_EQ(error, std::string("Erreur de chargement, ") + GetParam().message + ". xfile::ReadBinaryObjects");
}

// "Mesh Box {" then `body`; the first body token is at byte 37.
Bytes InMesh(xfile::TokenWriter body, unsigned floatBytes = 4)
{
    xfile::TokenWriter out(floatBytes);
    out.Header().Name("Mesh").Name("Box").Word(Token::OpenBrace);
    Bytes file = out.Take();
    file.insert(file.end(), body.bytes().begin(), body.bytes().end());
    return file;
}

xfile::TokenWriter Tokens(unsigned floatBytes = 4) { return xfile::TokenWriter(floatBytes); }

INSTANTIATE_TEST_SUITE_P(
    WrongTokensAndCounts, BinaryRefusal,
    testing::Values(
        BadStream{"UnknownToken", InMesh(Tokens().Raw16(99)),
                  "le jeton 99 de l'objet Mesh \"Box\" à l'octet 37 est inconnu"},
        BadStream{"IntegerCountBeyondTheData",
                  InMesh(Tokens().Word(Token::IntegerList).Raw32(0x40000000).Raw32(1).Word(Token::CloseBrace)),
                  "la liste de 1073741824 entiers de l'objet Mesh \"Box\" à l'octet 37 dépasse la fin des données (6 "
                  "octets restants)"},
        BadStream{"DoubleCountBeyondTheData",
                  InMesh(Tokens(8).Word(Token::FloatList).Raw32(2).Raw32(0).Raw32(0).Raw32(0), 8),
                  "la liste de 2 flottants de l'objet Mesh \"Box\" à l'octet 37 dépasse la fin des données (12 octets "
                  "restants)"},
        BadStream{"StringLengthBeyondTheData", InMesh(Tokens().Word(Token::String).Raw32(0xffffffff).Raw16(20)),
                  "la chaîne de 4294967295 octets de l'objet Mesh \"Box\" à l'octet 37 dépasse la fin des données (2 "
                  "octets restants)"},
        BadStream{"CutGuid", InMesh(Tokens().Word(Token::Guid).Raw32(1)),
                  "un GUID de l'objet Mesh \"Box\" à l'octet 37 dépasse la fin des données (4 octets restants)"},
        BadStream{"ListOutsideAnyObject",
                  Tokens().Header().Integers(std::vector<std::uint32_t>{1}).Take(),
                  "une liste d'entiers à l'octet 16 est inattendu (un objet ou un modèle attendu)"},
        BadStream{"CloseBraceOutsideAnyObject", Tokens().Header().Word(Token::CloseBrace).Take(),
                  "un jeton \"}\" à l'octet 16 est inattendu (un objet ou un modèle attendu)"},
        BadStream{"TemplateInsideAnObject", InMesh(Tokens().Word(Token::Template)),
                  "un jeton \"template\" de l'objet Mesh \"Box\" à l'octet 37 est inattendu (des données, un objet, "
                  "une référence ou \"}\" attendu)"},
        BadStream{"GuidAmongTheData", InMesh(Tokens().Integer(1).GuidRecord(kGuid)),
                  "un GUID de l'objet Mesh \"Box\" à l'octet 43 est inattendu (des données, un objet, une référence "
                  "ou \"}\" attendu)"},
        BadStream{"ReferenceWithoutName", InMesh(Tokens().Word(Token::OpenBrace).Word(Token::Semicolon)),
                  "un jeton \";\" de l'objet Mesh \"Box\" à l'octet 39 est inattendu (un nom ou un GUID attendu)"},
        BadStream{"ObjectWithoutBrace", InMesh(Tokens().Name("A").Name("B").Name("C")),
                  "un nom de l'objet Mesh \"Box\" à l'octet 51 est inattendu (\"{\" attendu)"},
        BadStream{"DataEndsInAnObjectHeader", InMesh(Tokens().Name("Normals")),
                  "les données s'arrêtent à l'octet 50 de l'objet Mesh \"Box\" (un nom ou \"{\" attendu)"},
        BadStream{"FileEndsInsideAnObject", InMesh(Tokens().Integer(1)),
                  "le fichier se termine avant la fin de l'objet Mesh \"Box\" ouvert à l'octet 16"},
        BadStream{"TemplateNeverCloses",
                  Tokens().Header().Word(Token::Template).Name("T").Word(Token::OpenBrace).Word(Token::Dword).Take(),
                  "les données s'arrêtent à l'octet 29 du modèle \"T\" (\"}\" attendu)"},
        BadStream{"CompressedFile", Bytes{'x', 'o', 'f', ' ', '0', '3', '0', '3', 'b', 'z', 'i', 'p', '0', '0', '3', '2'},
                  "ce fichier .x n'est pas un fichier binaire non compressé (format \"bin \" attendu)"}),
    [](const testing::TestParamInfo<BadStream>& info) { return std::string(info.param.what); });

}  // namespace
