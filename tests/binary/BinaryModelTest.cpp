// Binary and compressed files made from text files: the model each gives
// reports and draws exactly as the text it was made from; damaged ones are
// refused with one message.
#include "model/binary/DocumentBuilder.h"
#include "model/binary/ModelFromObjects.h"
#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "model/file/ModelFile.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "report/Report.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The report without its "Version", "type" and "float" lines, which tell the
// form (the writer writes its own version).
std::string ReportOf(const Model& model, std::string* type = nullptr)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    report::WriteTextReport(model, out);
    std::fclose(out);
    std::istringstream lines(std::string(buffer, size));
    std::free(buffer);
    std::string kept, line;
    while (std::getline(lines, line)) {
        if (line.rfind("type : ", 0) == 0 && type) *type = line.substr(7);
        if (line.rfind("type : ", 0) != 0 && line.rfind("float : ", 0) != 0 && line.rfind("Version : ", 0) != 0)
            kept += line + "\n";
    }
    return kept;
}

struct Twin {
    const char* form;  // what the "type" line must say
    std::string bytes;
};

// The text file and its twins: binary (32- and 64-bit floats), compressed text, compressed binary.
std::vector<Twin> TwinsOf(const std::string& text)
{
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadTextObjectsAnyLayout(text, document, error)) << error;
    const Bytes binary = xfile::WriteBinary(document, 4);
    const Bytes binary64 = xfile::WriteBinary(document, 8);
    const Bytes textBytes(text.begin(), text.end());
    return {{"txt", text},
            {"bin", AsText(binary)},
            {"bin", AsText(binary64)},
            {"tzip", AsText(xfile::CompressMszip(textBytes, 1000))},
            {"bzip", AsText(xfile::CompressMszip(binary, 1000))}};
}

class BinaryModels : public testing_support::GlTest {
protected:
    std::vector<std::uint8_t> Picture(const LoadedModel& loaded)
    {
        InitGL(64, 64);
        AimCamera(6);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, ViewOptions{}, 25, 35);
        glFinish();
        return context->ReadPixels();
    }
};

TEST_F(BinaryModels, TwinsReportAndDrawAsTheTextTheyWereMadeFrom)
{
    for (const std::string& file : {testing_support::SamplePath("cube.x"), testing_support::CorpusPath("assimp/test.x"),
                                    testing_support::CorpusPath("atball/Tor.x")}) {
        SCOPED_TRACE(file);
        testing_support::MessageRecorder recorder;
        std::string expectedReport;
        std::vector<std::uint8_t> expectedPicture;
        for (const Twin& twin : TwinsOf(testing_support::ReadFileBytes(file))) {
            SCOPED_TRACE(twin.form);
            LoadedModel loaded;
            // Named as the text file, so that textures are found beside it.
            ASSERT_EQ(loaded.LoadFromMemory(file, twin.bytes), S_OK);
            std::string type;
            const std::string report = ReportOf(loaded.model, &type);
            EXPECT_EQ(type, twin.form);
            const auto picture = Picture(loaded);
            if (expectedReport.empty()) {
                expectedReport = report;
                expectedPicture = picture;
                EXPECT_GT(loaded.model.meshCount(), 0);
                continue;
            }
            EXPECT_TRUE(report == expectedReport);  // (not printed: thousands of lines)
            EXPECT_TRUE(picture == expectedPicture);
        }
        EXPECT_TRUE(recorder.messages().empty());
    }
}

// Frames and skins come out of a binary file as out of its text.
TEST(BinaryModelScene, FramesAndSkinsReadAsInTheText)
{
    testing_support::MessageRecorder recorder;
    const std::string text = testing_support::ReadFileBytes(testing_support::CorpusPath("minetest_game/character.x"));
    const std::optional<Model> fromText = testing_support::ShowingRefusal(ReadModelBytes("character.x", text));
    ASSERT_TRUE(fromText);
    ASSERT_GT(fromText->frames.size(), 5u);
    for (const Twin& twin : TwinsOf(text)) {
        SCOPED_TRACE(twin.form);
        const std::optional<Model> model = testing_support::ShowingRefusal(ReadModelBytes("character.x", twin.bytes));
        ASSERT_TRUE(model);
        ASSERT_EQ(model->frames.size(), fromText->frames.size());
        for (std::size_t f = 0; f < model->frames.size(); ++f) {
            EXPECT_EQ(model->frames[f].name, fromText->frames[f].name);
            EXPECT_EQ(model->frames[f].parent, fromText->frames[f].parent);
            EXPECT_EQ(model->frames[f].transform, fromText->frames[f].transform);
        }
        ASSERT_EQ(model->meshes.size(), 1u);
        EXPECT_EQ(model->meshes[0].frame, fromText->meshes[0].frame);
        const auto& skins = model->meshes[0].skinWeights;
        ASSERT_EQ(skins.size(), fromText->meshes[0].skinWeights.size());
        for (std::size_t k = 0; k < skins.size(); ++k) {
            EXPECT_EQ(skins[k].boneName, fromText->meshes[0].skinWeights[k].boneName);
            EXPECT_EQ(skins[k].vertexIndices, fromText->meshes[0].skinWeights[k].vertexIndices);
            EXPECT_EQ(skins[k].weights, fromText->meshes[0].skinWeights[k].weights);
            EXPECT_EQ(skins[k].offset, fromText->meshes[0].skinWeights[k].offset);
        }
    }
}

// Every cut of a binary file and of a compressed one: a cut between
// top-level objects leaves a smaller valid binary file, any other cut is
// refused with one message and no model.
TEST(BinaryModelDamage, EveryCutLoadsAWholePrefixOrIsRefusedWithOneMessage)
{
    const std::vector<Twin> twins = TwinsOf(testing_support::ReadFileBytes(testing_support::SamplePath("cube.x")));
    for (const Twin& twin : {twins[1], twins[4]}) {
        int refused = 0;
        for (std::size_t length = 0; length < twin.bytes.size(); ++length) {
            testing_support::MessageRecorder recorder;
            const bool read =
                testing_support::ShowingRefusal(ReadModelBytes("cut.x", std::string_view(twin.bytes).substr(0, length)))
                    .has_value();
            EXPECT_EQ(recorder.messages().size(), read ? 0u : 1u) << twin.form << " cut at " << length;
            if (!read) {
                ++refused;
                EXPECT_EQ(recorder.messages()[0].caption, "Erreur");
            }
        }
        // A compressed file cut anywhere no longer holds the size it declares.
        if (std::string(twin.form) == "bzip") {
            EXPECT_EQ(refused, static_cast<int>(twin.bytes.size()));
        }
        EXPECT_GT(refused, static_cast<int>(twin.bytes.size()) * 9 / 10);
    }
}

// Data objects whose counts or indices cannot be right.
TEST(BinaryModelDamage, CountsAndIndicesAreCheckedAgainstTheData)
{
    auto refusal = [](auto build) {
        xfile::Document document;
        xfile::DocumentBuilder builder(document);
        builder.OpenObject("Mesh", "Box", std::nullopt);
        build(builder);
        builder.CloseObject();
        const Bytes file = xfile::WriteBinary(document, 4);
        testing_support::MessageRecorder recorder;
        EXPECT_FALSE(testing_support::ShowingRefusal(ReadModelBytes("bad.x", AsText(file))));
        return recorder.messages().size() == 1 ? recorder.messages()[0].text : std::string("(no single message)");
    };
    auto put = [](xfile::DocumentBuilder& builder, std::initializer_list<std::uint32_t> integers) {
        std::ranges::copy(integers, builder.AppendIntegers(integers.size()).begin());
    };
    auto putFloats = [](xfile::DocumentBuilder& builder, std::size_t count) {
        for (float& value : builder.AppendFloats(count)) value = 1.0f;
    };
    const std::string tail = ". ReadBinaryModel";
    EXPECT_EQ(refusal([&](auto& b) { put(b, {1000000}); putFloats(b, 3); }),
              "Erreur de chargement, l'objet Mesh \"Box\" annonce 1000000 éléments, plus que ses données n'en "
              "contiennent" + tail);
    EXPECT_EQ(refusal([&](auto& b) { put(b, {1}); putFloats(b, 3); put(b, {1, 3, 0, 0, 1}); }),
              "Erreur de chargement, l'indice de sommet 1 de l'objet Mesh \"Box\" n'existe pas (1 sommets)" + tail);
    EXPECT_EQ(refusal([&](auto& b) { putFloats(b, 4); }),
              "Erreur de chargement, l'objet Mesh \"Box\" ne contient pas les nombres attendus à leur place" + tail);
    EXPECT_EQ(refusal([&](auto& b) {
                  put(b, {1});
                  putFloats(b, 3);
                  put(b, {1, 3, 0, 0, 0});
                  b.OpenObject("MeshMaterialList", "", std::nullopt);
                  put(b, {1, 1, 4});
                  b.CloseObject();
              }),
              "Erreur de chargement, l'indice de matériau 4 de l'objet MeshMaterialList de la mesh \"Box\" n'existe "
              "pas (1 matériaux)" + tail);
}

// A mesh of some 10 MB in binary, whose file bytes, inflated bytes, objects
// and lists are given back as the readers move on (by pieces of a few
// megabytes, of a few bytes under AddressSanitizer, which reports a read of
// what was given back): read from a file or from memory, whole or
// compressed, every value comes out as written; damaged late, it gives the
// message the objects it was read into give.
struct LargeMesh {
    static constexpr std::uint32_t kVertices = 250000;
    xfile::Document document;
    std::vector<std::uint32_t> faceMaterials;

    explicit LargeMesh(std::uint32_t badLastIndex = 0)
    {
        xfile::DocumentBuilder builder(document);
        builder.OpenObject("Mesh", "Grid", std::nullopt);
        builder.AppendIntegers(1)[0] = kVertices;
        const auto vertices = builder.AppendFloats(3 * kVertices);
        for (std::uint32_t k = 0; k < vertices.size(); ++k) vertices[k] = static_cast<float>(k) * 0.25f;
        std::vector<std::uint32_t> faces{kVertices - 1};
        for (std::uint32_t f = 0; f + 1 < kVertices; ++f) {
            const std::uint32_t corners = f % 3 == 0 ? 3 : 4;
            faces.push_back(corners);
            for (std::uint32_t c = 0; c < corners; ++c) faces.push_back((f + c * 7) % kVertices);
            faceMaterials.push_back(f % 5 == 0 ? 1 : 0);
        }
        if (badLastIndex != 0) faces.back() = badLastIndex;
        std::ranges::copy(faces, builder.AppendIntegers(faces.size()).begin());
        builder.OpenObject("MeshMaterialList", "", std::nullopt);
        builder.AppendIntegers(1)[0] = 2;
        builder.AppendIntegers(1)[0] = static_cast<std::uint32_t>(faceMaterials.size());
        std::ranges::copy(faceMaterials, builder.AppendIntegers(faceMaterials.size()).begin());
        for (const char* name : {"Red", "Blue"}) {
            builder.OpenObject("Material", name, std::nullopt);
            for (float& value : builder.AppendFloats(11)) value = 0.5f;
            builder.CloseObject();
        }
        builder.CloseObject();
        builder.OpenObject("MeshTextureCoords", "", std::nullopt);
        builder.AppendIntegers(1)[0] = kVertices;
        const auto uv = builder.AppendFloats(2 * kVertices);
        for (std::uint32_t k = 0; k < uv.size(); ++k) uv[k] = static_cast<float>(k) * -0.5f;
        builder.CloseObject();
        builder.CloseObject();
    }

    void Check(const Model& model) const
    {
        MeshRecord::VertexList vertices;
        std::vector<TexCoord> texCoords;
        FaceList faces;
        for (std::uint32_t v = 0; v < kVertices; ++v) {
            vertices.push_back({v * 0.75f, v * 0.75f + 0.25f, v * 0.75f + 0.5f});
            texCoords.push_back({v * -1.0f, v * -1.0f - 0.5f});
            if (v + 1 == kVertices) break;
            std::vector<std::int32_t> corners;
            for (std::uint32_t c = 0; c < (v % 3 == 0 ? 3u : 4u); ++c)
                corners.push_back(static_cast<std::int32_t>((v + c * 7) % kVertices));
            faces.Append(corners);
        }
        ASSERT_EQ(model.meshes.size(), 1u);
        const MeshRecord& mesh = model.meshes[0];
        EXPECT_TRUE(mesh.vertices == vertices);
        EXPECT_TRUE(mesh.faces == faces);
        ASSERT_TRUE(mesh.faceMaterials && mesh.texCoords);
        EXPECT_TRUE(std::ranges::equal(*mesh.faceMaterials, faceMaterials));
        EXPECT_TRUE(std::ranges::equal(*mesh.texCoords, texCoords,
                                       [](TexCoord a, TexCoord b) { return a.u == b.u && a.v == b.v; }));
        ASSERT_EQ(mesh.materials.size(), 2u);
        EXPECT_EQ(mesh.materials[1].name, "Blue");
    }
};

TEST(BinaryModelMemory, WhatIsGivenBackOnTheWayIsNeverReadAgain)
{
    const LargeMesh large;
    const Bytes binary = xfile::WriteBinary(large.document, 4);
    ASSERT_GT(binary.size(), std::size_t{8} << 20);
    const testing_support::TempDir folder;
    for (const auto& [name, bytes] : {std::pair{"grid_bin.x", AsText(binary)},
                                      {"grid_bzip.x", AsText(xfile::CompressMszip(binary))}}) {
        SCOPED_TRACE(name);
        testing_support::MessageRecorder recorder;
        const std::optional<Model> fromFile =
            testing_support::ShowingRefusal(ReadModelFile(folder.Write(name, bytes)));
        ASSERT_TRUE(fromFile);
        large.Check(*fromFile);
        const std::optional<Model> fromMemory = testing_support::ShowingRefusal(ReadModelBytes(name, bytes));
        ASSERT_TRUE(fromMemory);
        large.Check(*fromMemory);
        EXPECT_TRUE(recorder.messages().empty());
    }

    // The last face names a vertex that does not exist.
    const LargeMesh damaged(LargeMesh::kVertices);
    std::string kept;
    ASSERT_FALSE(xfile::ModelFromObjects(damaged.document, kept));
    EXPECT_EQ(kept, "Erreur de chargement, l'indice de sommet 250000 de l'objet Mesh \"Grid\" n'existe pas (250000 "
                    "sommets). ReadBinaryModel");
    const Bytes bad = xfile::WriteBinary(damaged.document, 4);
    for (const auto& [name, bytes] : {std::pair{"bad_bin.x", AsText(bad)},
                                      {"bad_bzip.x", AsText(xfile::CompressMszip(bad))}}) {
        testing_support::MessageRecorder recorder;
        EXPECT_FALSE(testing_support::ShowingRefusal(ReadModelFile(folder.Write(name, bytes))));
        EXPECT_FALSE(testing_support::ShowingRefusal(ReadModelBytes(name, bytes)));
        ASSERT_EQ(recorder.messages().size(), 2u) << name;
        EXPECT_EQ(recorder.messages()[0].text, kept) << name;
        EXPECT_EQ(recorder.messages()[1].text, kept) << name;
    }
    xfile::Document given = damaged.document;
    std::string error;
    EXPECT_FALSE(xfile::ModelFromObjects(std::move(given), error));
    EXPECT_EQ(error, kept);
}

}  // namespace
