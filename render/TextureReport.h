// What a load made of the texture names of one mesh material, kept for
// whoever describes the scene's parts: the names, the one loaded, and the
// texture's facts or what the load said about why it has none.
#pragma once

#include "platform/Messages.h"
#include "texture/LoadTexture.h"

#include <memory>
#include <string>
#include <vector>

struct TextureReport {
    std::vector<std::string> names;  // every name the material gives, in file order
    std::string loadedName;          // the name the load read; empty when it read none
    // The texture (facts() tells what it is), or null when it did not load.
    std::shared_ptr<const LoadTexture> texture;
    // What loading said, in order: why it failed, or a warning. A name
    // whose file another name loaded first has nothing to say.
    std::vector<platform::RecordedMessage> messages;
};
