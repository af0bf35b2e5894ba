// The refusals every reader shares, each in the wording of its reader.
#pragma once

#include "texture/TextureMessages.h"

#include <cstdint>
#include <string>

// "<lead><name><tail>. <operation>" style texts, e.g. "Ce fichier: a.ppm est
// incomplet. Load_Ppm".
struct ReaderWording {
    std::string_view lead;       // text before the file name
    std::string_view operation;  // "Load_Ppm", ...
    std::string_view separator;  // between the text and the operation: ". " or ", "
    std::string_view caption;
};

TextureMessage ReaderMessage(const ReaderWording& wording, std::string_view name, std::string_view tail);
TextureMessage IncompleteMessage(const ReaderWording& wording, std::string_view name);
TextureMessage SizeMessage(const ReaderWording& wording, std::string_view name, std::uint64_t width,
                           std::uint64_t height);
TextureMessage MemoryMessage(const ReaderWording& wording, std::string_view name);
