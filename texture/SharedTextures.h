// The textures of one load. A file that several materials name is read,
// decoded and uploaded once and its texture shared; it goes when the last
// material that uses it goes. What loading a name said (a missing or
// refused file, a warning) is said again for every material that names it;
// a whole load (LoadedModel) lets each distinct message through once.
#pragma once

#include "platform/Messages.h"
#include "texture/LoadTexture.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class SharedTextures {
public:
    // `modelFolder`: where the model file lies, to find textures beside it;
    // `choice`: how each file's reader is chosen.
    explicit SharedTextures(std::string modelFolder, ReaderChoice choice = ReaderChoice::ByExtension)
        : modelFolder_(std::move(modelFolder)), choice_(choice)
    {
    }

    // The texture of `fileName` as a material names it, or null when it
    // cannot be loaded.
    std::shared_ptr<const LoadTexture> Load(const std::string& fileName);

private:
    struct Outcome {
        std::shared_ptr<const LoadTexture> texture;
        std::vector<platform::RecordedMessage> messages;  // in order
    };
    std::string modelFolder_;
    ReaderChoice choice_;
    std::map<std::string, Outcome> byName_;  // every name asked for
    // Successful loads by what they read: the reader and the file itself, so
    // that two names of one file share it.
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const LoadTexture>> byFile_;
};
