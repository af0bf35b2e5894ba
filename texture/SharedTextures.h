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
    // `choice`: how each file's reader is chosen; `ddsAlpha`: whether a DDS
    // texture's alpha is classified.
    explicit SharedTextures(std::string modelFolder, ReaderChoice choice = ReaderChoice::ByExtension,
                            DdsAlpha ddsAlpha = DdsAlpha::Skip)
        : modelFolder_(std::move(modelFolder)), choice_(choice), ddsAlpha_(ddsAlpha)
    {
    }

    // What loading a name gave: the texture, or null when it cannot be
    // loaded; and what the load said (why it failed, or a warning). A name
    // whose file another name loaded first says nothing.
    struct Outcome {
        std::shared_ptr<const LoadTexture> texture;
        std::vector<platform::RecordedMessage> messages;  // in order
    };

    // The texture of `fileName` as a material names it, or null when it
    // cannot be loaded.
    std::shared_ptr<const LoadTexture> Load(const std::string& fileName) { return LoadOutcome(fileName).texture; }
    // The same with what the load said; valid as long as this object.
    const Outcome& LoadOutcome(const std::string& fileName);

private:
    std::string modelFolder_;
    ReaderChoice choice_;
    DdsAlpha ddsAlpha_;
    std::map<std::string, Outcome> byName_;  // every name asked for
    // Successful loads by what they read: the reader and the file itself, so
    // that two names of one file share it.
    std::map<std::pair<std::string, std::string>, std::shared_ptr<const LoadTexture>> byFile_;
};
