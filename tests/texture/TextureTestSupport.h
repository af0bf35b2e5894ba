// A current OpenGL context, a folder for image files, recorded messages, and
// a texture object to load into.
#pragma once

#include "TestImages.h"
#include "TestSupport.h"
#include "texture/LoadTexture.h"

#include <filesystem>
#include <string>

class TextureTest : public testing_support::GlTest {
protected:
    // Writes the file into the temporary folder and loads it by its full path.
    HRESULT Load(const std::string& name, const std::string& bytes)
    {
        return texture.DoLoadTexture(folder.Write(name, bytes));
    }
    std::string PathOf(const std::string& name) const { return (folder.path() / name).string(); }
    const auto& messages() const { return recorder.messages(); }
    std::string OnlyMessage() const
    {
        return messages().size() == 1 ? messages()[0].text : "(" + std::to_string(messages().size()) + " messages)";
    }
    void Bind() const { glBindTexture(GL_TEXTURE_2D, texture.GetTextureId()); }

    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    LoadTexture texture;
};

// Runs a scope in another current folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path previous_;
};
