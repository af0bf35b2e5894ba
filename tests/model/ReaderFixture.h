// A model read from text written in the test, with its messages and traces recorded.
#pragma once

#include "model/text/TextReader.h"
#include "platform/ResultCodes.h"
#include "TestSupport.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <string>

class ReaderTest : public testing::Test {
protected:
    static constexpr const char* kFirstLine = "xof 0303txt 0032\n";

    // Reads `body` below the usual first line into `model`; a refused file
    // leaves it empty.
    HRESULT Read(const std::string& body) { return ReadWhole(kFirstLine + body); }
    HRESULT ReadWhole(const std::string& text) { return Keep(ReadTextBytes("test.x", text)); }
    HRESULT ReadPath(const std::string& path) { return Keep(ReadTextFile(path)); }
    HRESULT Keep(ModelOrError result)
    {
        std::optional<Model> read = testing_support::ShowingRefusal(std::move(result));
        model = read ? std::move(*read) : Model{};
        return read ? S_OK : E_FAIL;
    }

    const std::vector<platform::RecordedMessage>& messages() const { return recorder.messages(); }
    const std::string& traces() const { return recorder.trace.text_; }

    // Expects exactly one warning, captioned "Erreur", with this text.
    void ExpectOneError(const std::string& text) const
    {
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, text);
        EXPECT_EQ(messages()[0].caption, "Erreur");
        EXPECT_EQ(messages()[0].kind, platform::MessageKind::Warning);
    }

    const MeshRecord& OnlyMesh() const
    {
        EXPECT_EQ(model.meshes.size(), 1u);
        return model.meshes.at(0);
    }

    testing_support::MessageRecorder recorder;
    Model model;  // destroyed before the recorder
};

// A triangle mesh whose block ends with `inside` (material list, coordinates...).
inline std::string TriangleMesh(const std::string& name, const std::string& inside = {})
{
    return "Mesh " + name + " {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n" + inside + "}\n";
}
