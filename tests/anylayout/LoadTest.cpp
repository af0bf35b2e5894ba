// The load's second reader: a text file the line reader refuses is read in
// any layout only when asked, in every text form, and a file neither reader
// takes gives back the line reader's refusal as it was.
#include "model/file/ModelFile.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Refused(const std::string& name)
{
    return testing_support::ReadFileBytes(std::string(PELMORA_ANYLAYOUT_DIR) + "/refused/" + name);
}

std::vector<std::string> Texts(const LoadError& error)
{
    std::vector<std::string> texts;
    for (const platform::Message& message : error.messages) texts.push_back(message.text);
    return texts;
}

// The text itself, in a file, and compressed ("tzip"): the three ways a text reaches the line reader.
std::vector<ModelOrError> ReadEveryWay(const std::string& text, bool anyLayout)
{
    const testing_support::TempDir folder;
    const std::vector<std::uint8_t> compressed =
        xfile::CompressMszip(std::vector<std::uint8_t>(text.begin(), text.end()), 900);
    std::vector<ModelOrError> reads;
    reads.push_back(ReadModelBytes("in.x", text, {.anyLayout = anyLayout}));
    reads.push_back(ReadModelFile(folder.Write("in.x", text), {.anyLayout = anyLayout}));
    reads.push_back(ReadModelBytes("in.x", std::string(compressed.begin(), compressed.end()), {.anyLayout = anyLayout}));
    return reads;
}

TEST(LoadInAnyLayout, ReadsWhatTheLineReaderRefusesOnlyWhenAsked)
{
    testing_support::MessageRecorder recorder;
    for (const char* name : {"materials-on-one-line.x", "faces-on-one-line.x", "stray-brace.x"}) {
        SCOPED_TRACE(name);
        for (ModelOrError& refused : ReadEveryWay(Refused(name), false)) {
            ASSERT_FALSE(refused);
            EXPECT_EQ(refused.error().kind, LoadErrorKind::Refused);
            EXPECT_FALSE(refused.error().messages.empty());
        }
        for (ModelOrError& read : ReadEveryWay(Refused(name), true)) {
            ASSERT_TRUE(read) << (read ? "" : Texts(read.error()).front());
            ASSERT_FALSE(read->meshes.empty());
            const MeshRecord& mesh = read->meshes.front();
            if (std::string(name) == "stray-brace.x") {
                // Both sets, the one after the brace included.
                ASSERT_EQ(read->animationSets.size(), 2u);
                EXPECT_EQ(read->animationSets[1].name, "Run");
                EXPECT_EQ(mesh.faceCount(), 1);
            } else {
                EXPECT_EQ(mesh.faceCount(), 6);
                ASSERT_EQ(mesh.faceMaterialCount(), 6);
                const std::vector<std::int32_t> expected{0, 0, 1, 1, 0, 1};
                EXPECT_EQ(std::vector<std::int32_t>(mesh.faceMaterials->begin(), mesh.faceMaterials->end()), expected);
            }
        }
    }
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(LoadInAnyLayout, AFileNeitherReaderTakesGivesTheLineReadersRefusal)
{
    // Unclosed: the line reader refuses its braces, the other reader its end.
    const std::string unclosed = Refused("stray-brace.x") + "Frame Open {\n";
    std::vector<ModelOrError> asked = ReadEveryWay(unclosed, true);
    std::vector<ModelOrError> plain = ReadEveryWay(unclosed, false);
    for (std::size_t way = 0; way < asked.size(); ++way) {
        ASSERT_FALSE(asked[way]);
        ASSERT_FALSE(plain[way]);
        EXPECT_EQ(asked[way].error().kind, plain[way].error().kind);
        EXPECT_EQ(Texts(asked[way].error()), Texts(plain[way].error()));
        EXPECT_EQ(asked[way].error().reason, plain[way].error().reason);
    }
    // Not a ".x" file at all: the same.
    const ModelOrError notModel = ReadModelBytes("in.x", "plain words\n", {.anyLayout = true});
    ASSERT_FALSE(notModel);
    EXPECT_EQ(notModel.error().kind, LoadErrorKind::NotAModel);
}

}  // namespace
