// The reader of text files in any layout: it gives the line reader's records
// for the files the line reader reads, the same records whatever the layout,
// and a message, never a crash, for damaged text.
#include "model/anylayout/AnyLayoutModel.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "model/file/ModelFile.h"
#include "platform/Messages.h"
#include "report/Report.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The text report, then the frames and animations it leaves out.
std::string Summary(const Model& model)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    report::WriteTextReport(model, out);
    for (const FrameRecord& frame : model.frames) {
        std::fprintf(out, "frame %s ^%d", frame.name.c_str(), frame.parent);
        if (frame.transform)
            for (const float value : frame.transform->m) std::fprintf(out, " %g", static_cast<double>(value));
        std::fprintf(out, "\n");
    }
    for (const AnimationSetRecord& set : model.animationSets) {
        std::fprintf(out, "set %s:", set.name.c_str());
        for (const AnimationRecord& animation : set.animations)
            std::fprintf(out, " %s %zu/%zu/%zu/%zu", animation.frameName.c_str(), animation.rotationKeys.size(),
                         animation.scaleKeys.size(), animation.positionKeys.size(), animation.matrixKeys.size());
        std::fprintf(out, "\n");
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

std::optional<Model> ReadAnyLayout(const std::string& text, std::string& error)
{
    return ReadAnyLayoutText("any.x", Bytes(text), error);
}

std::string AnyLayoutSummary(const std::string& text)
{
    std::string error;
    const std::optional<Model> model = ReadAnyLayout(text, error);
    EXPECT_TRUE(model) << error;
    return model ? Summary(*model) : error;
}

// The line reader's model, or its first message.
std::string LineReaderSummary(const std::string& text)
{
    const ModelOrError model = ReadModelBytes("any.x", text);
    if (!model) return model.error().messages.empty() ? "refused" : model.error().messages[0].text;
    return Summary(*model);
}

TEST(AnyLayout, CorpusTextFilesGiveTheLineReadersRecords)
{
    for (const char* name : {"assimp/BCN_Epileptic.X", "assimp/Testwuson.X", "assimp/anim_test.x",
                             "assimp/kwxport_test_cubewithvcolors.x", "assimp/malformed_skinweights_oob.x",
                             "assimp/test.x", "assimp/test_cube_text.x", "atball/Tor.x", "irrlicht/earth.x"}) {
        const std::string text = testing_support::ReadFileBytes(testing_support::CorpusPath(name));
        platform::NullTraceSink quiet;
        platform::ScopedTraceSink scope(quiet);
        EXPECT_EQ(AnyLayoutSummary(text), LineReaderSummary(text)) << name;
    }
}

// One model with a frame, a mesh with its material list and an animation,
// in the layout one exporter writes.
const std::string kHeader = "xof 0302txt 0032\n";
const std::string kLines = R"(Material Shared {
 0.5;0.5;0.5;1.0;;
 8.0;
 0.0;0.0;0.0;;
 0.0;0.0;0.0;;
 TextureFilename {
  "skin.png";
 }
}
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,-2.5,0.0,1.0;;
 }
 Mesh Quad {
  5;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  1.0;1.0;0.0;,
  0.0;1.0;0.0;,
  -1.0;-1.0;0.5;;
  2;
  4;0,1,2,3;,
  3;0,3,4;;
  MeshMaterialList {
   2;
   2;
   0,
   1;;
   { Shared }
   { Shared }
  }
 }
}
AnimationSet Walk {
 Animation {
  { Root }
  AnimationKey {
   2;
   2;
   0;3;0.0,0.0,0.0;;,
   10;3;0.0,1.0,0.0;;;
  }
 }
}
)";

// The same file with every line break, indentation and comma turned as asked.
std::string Relaid(std::string text, const std::string& lineBreak, bool commas)
{
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (c == ' ' && lineStart) continue;
        lineStart = c == '\n';
        if (c == '\n') out += lineBreak;
        else if (c == ',' && !commas) out += ' ';
        else out += c;
    }
    return out;
}

TEST(AnyLayout, EveryLayoutGivesTheSameRecords)
{
    const std::string lines = kHeader + kLines;
    const std::string expected = LineReaderSummary(lines);
    ASSERT_NE(expected.find("set Walk: Root 0/0/2/0"), std::string::npos) << expected;
    EXPECT_EQ(AnyLayoutSummary(lines), expected);
    // Whole objects on one line, without commas, with comments between any two tokens.
    EXPECT_EQ(AnyLayoutSummary(kHeader + Relaid(kLines, " ", true)), expected);
    EXPECT_EQ(AnyLayoutSummary(kHeader + Relaid(kLines, "\t", false)), expected);
    EXPECT_EQ(AnyLayoutSummary(kHeader + Relaid(kLines, " # note\r\n// more\n", true)), expected);
    // Each token on a line of its own.
    std::string tokens;
    for (const char c : kLines) {
        if (c == ';' || c == ',' || c == '{' || c == '}') tokens += std::string("\n") + c + "\n";
        else tokens += c;
    }
    EXPECT_EQ(AnyLayoutSummary(kHeader + tokens), expected);
    // Lists closed by ";" alone, and no separators at all.
    std::string single = kLines;
    for (std::size_t at; (at = single.find(";;")) != std::string::npos;) single.erase(at, 1);
    EXPECT_EQ(AnyLayoutSummary(kHeader + single), expected);
    std::string bare = Relaid(kLines, "\n", false);
    std::replace(bare.begin(), bare.end(), ';', ' ');
    EXPECT_EQ(AnyLayoutSummary(kHeader + bare), expected);
}

TEST(AnyLayout, ReadsWhatTheLineReaderRefuses)
{
    auto replaced = [](const std::string& from, const std::string& to) {
        std::string text = kHeader + kLines;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string listOnOneLine = replaced("   0,\n   1;;", "   0,1;;");
    const std::string facesOnOneLine = replaced("  4;0,1,2,3;,\n  3;0,3,4;;", "  4;0,1,2,3;,3;0,3,4;;");
    const std::string strayBrace = replaced("AnimationSet Walk", "}\nAnimationSet Walk");
    const std::string expected = LineReaderSummary(kHeader + kLines);
    for (const std::string* each : {&listOnOneLine, &facesOnOneLine, &strayBrace}) {
        const std::string& text = *each;
        // The line reader refuses these, or reads one value where the line holds several.
        EXPECT_NE(LineReaderSummary(text), expected);
        platform::RecordingTraceSink traces;
        platform::ScopedTraceSink scope(traces);
        EXPECT_EQ(AnyLayoutSummary(text), expected);
        const auto braceLine = 1 + std::count(text.begin(), text.begin() + text.find("}\nAnimationSet"), '\n');
        EXPECT_EQ(traces.text_, &text == &strayBrace ? "} en trop ignorée à la ligne " + std::to_string(braceLine) + "\n" : "");
    }
    // Two stray braces: one trace line.
    platform::RecordingTraceSink traces;
    platform::ScopedTraceSink scope(traces);
    EXPECT_EQ(AnyLayoutSummary(kHeader + "}\n}\n" + kLines), expected);
    EXPECT_EQ(traces.text_, "} en trop ignorée à la ligne 2\n");
}

TEST(AnyLayout, KeepsObjectsItDoesNotKnowAndSkipsTemplates)
{
    const std::string text = kHeader +
                             "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; "
                             "array Vector vertices[nVertices]; [...] }\n"
                             "# a comment { with braces }\n"
                             "Frame 1st_Bone { Frame (Bip01 L) { Unknown { <01020304-0506-0708-090A-0B0C0D0E0F10> 7; "
                             "\"text\"; Child { Mesh Tri { 3; 0;0;0;, 1;0;0;, 0;-1;0;; 1; 3;0,1,2;; } } } } }\n"
                             "Tail { { 1st_Bone <01020304-0506-0708-090A-0B0C0D0E0F10> } { <01020304-0506-0708-090A-0B0C0D0E0F10> } }\n";
    xfile::Document document;
    std::string error;
    ASSERT_TRUE(xfile::ReadTextObjectsAnyLayout(text, document, error)) << error;
    ASSERT_EQ(document.objects.size(), 6u);
    EXPECT_EQ(document.roots.size(), 2u);
    EXPECT_EQ(document.objects[0].name, "1st_Bone");
    EXPECT_EQ(document.objects[1].name, "(Bip01 L)");
    const xfile::DataObject& unknown = document.objects[2];
    EXPECT_EQ(unknown.type, "Unknown");
    EXPECT_TRUE(unknown.name.empty() && unknown.guid && unknown.guid->data4[7] == 0x10);
    const auto parts = document.PartsOf(unknown);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(document.IntegersOf(parts[0])[0], 7u);
    EXPECT_EQ(document.StringsOf(parts[1])[0], "text");
    const auto references = document.ReferencesOf(document.PartsOf(document.objects[5])[0]);
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[0].name, "1st_Bone");
    EXPECT_TRUE(references[0].guid && references[1].name.empty() && references[1].guid);

    // A mesh in objects of any template is read, in its frames.
    const std::optional<Model> model = ReadAnyLayout(text, error);
    ASSERT_TRUE(model) << error;
    ASSERT_EQ(model->meshes.size(), 1u);
    EXPECT_EQ(model->meshes[0].name, "Tri");
    EXPECT_EQ(model->meshes[0].frame, 1);
    EXPECT_EQ(model->meshes[0].vertices[2].y, -1.0f);  // a negative integer keeps its sign
    EXPECT_EQ(model->versionMinor, 2);
    EXPECT_EQ(model->sourcePath, "any.x");
}

TEST(AnyLayout, NumbersAreIntegersOnlyWhenUnsignedAndWithin32Bits)
{
    // Every length of digits, on either side of the 8-byte steps and of the short decimals' limits.
    const char* const integers[] = {"0", "7", "1234567", "12345678", "123456789", "4294967295", "0000000012"};
    const char* const floats[] = {"4294967296", "-1", "-12345678901", "+3.", ".5", "0.000001", "16777216.5",
                                  "123456789.123456789", "1e3", "-2.5E-3", "00000000000000000001.25"};
    std::string text = "xof 0303txt 0032\nValues {";
    for (const char* number : integers) text += std::string(number) + ";";
    for (const char* number : floats) text += std::string(number) + ",";
    xfile::Document document;
    std::string error;
    ASSERT_TRUE(xfile::ReadTextObjectsAnyLayout(text + "}", document, error)) << error;
    const auto parts = document.PartsOf(document.objects[0]);
    ASSERT_EQ(parts.size(), 2u);
    const auto read = document.IntegersOf(parts[0]);
    ASSERT_EQ(read.size(), std::size(integers));
    for (std::size_t k = 0; k < read.size(); ++k) EXPECT_EQ(read[k], std::stoul(integers[k])) << integers[k];
    const auto readFloats = document.FloatsOf(parts[1]);
    ASSERT_EQ(readFloats.size(), std::size(floats));
    for (std::size_t k = 0; k < readFloats.size(); ++k)
        EXPECT_EQ(readFloats[k], std::strtof(floats[k], nullptr)) << floats[k];
}

TEST(AnyLayout, DamagedTextGivesAMessage)
{
    struct Bad {
        std::string text;
        const char* message;
    };
    const std::string mesh = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";
    const std::vector<Bad> cases = {
        {"xof 0303bin 0032\n" + mesh, "ce fichier n'est pas un fichier DirectX .x texte : sa première ligne n'est pas "
                                      "un en-tête \"xof 0303txt 0032\". xfile::ReadTextObjectsAnyLayout"},
        {kHeader + "Frame {\n" + mesh, "le fichier se termine dans l'objet Frame à la ligne"},
        {kHeader + "Mesh {\n 3; 0;0;0;, 1;0;\"0;1;0;; }", "une chaîne sans guillemet final à la ligne 3"},
        {kHeader + "Mesh Box 3; }", "\"{\" manque après l'objet Mesh \"Box\" à la ligne 2"},
        {kHeader + "Mesh { 3; 0;0;0x1; }", "un nombre illisible à la ligne 2"},
        {kHeader + "Mesh { 3; 1.#QNAN0; }", "un nombre illisible à la ligne 2"},
        {kHeader + "\n1;\n", "un nombre hors de tout objet à la ligne 3"},
        {kHeader + "Mesh { { } }", "une référence mal formée à la ligne 2"},
        {kHeader + "Mesh { <1-2> }", "un GUID illisible à la ligne 2"},
        {kHeader + "template Mesh { DWORD n;", "le fichier se termine dans une déclaration de modèle à la ligne 2"},
        // Counts beyond the data and negative ones: refused by the objects' meanings, nothing reserved for them.
        {kHeader + "Mesh { 4000000000; 0;0;0;; 0;; }", "l'objet Mesh \"Unnamed\" annonce 4000000000 éléments"},
        {kHeader + "Mesh { -1; 0;0;0;; 0;; }", "l'objet Mesh \"Unnamed\" ne contient pas les nombres attendus"},
    };
    for (const Bad& bad : cases) {
        std::string error;
        EXPECT_FALSE(ReadAnyLayout(bad.text, error)) << bad.text;
        EXPECT_EQ(error.rfind("Erreur de chargement, ", 0), 0u) << error;
        EXPECT_NE(error.find(bad.message), std::string::npos) << error;
    }

    std::string deep = kHeader;
    for (int k = 0; k < 255; ++k) deep += "Frame {";
    const std::string closing(255, '}');
    std::string error;
    EXPECT_TRUE(ReadAnyLayout(deep + closing, error)) << error;
    EXPECT_FALSE(ReadAnyLayout(deep + "Frame {" + closing + "}", error));
    EXPECT_NE(error.find("l'objet Frame dépasse 255 niveaux d'objets imbriqués à la ligne 2"), std::string::npos)
        << error;

    // Every cut of a whole file reads or gives a message.
    const std::string whole = kHeader + kLines;
    platform::NullTraceSink quiet;
    platform::ScopedTraceSink scope(quiet);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const std::optional<Model> model = ReadAnyLayout(whole.substr(0, size), error);
        if (!model) {
            EXPECT_EQ(error.rfind("Erreur de chargement, ", 0), 0u) << size << ": " << error;
        }
    }
}

}  // namespace
