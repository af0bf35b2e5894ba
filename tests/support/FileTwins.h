// The five forms one model can take, made from its text: for tests that
// check both readers keep the same things. Header only: its users link the
// writers (xfile_binary_writer).
#pragma once

#include "tools/xfile_writer/BinaryWriter.h"
#include "tools/xfile_writer/MszipWriter.h"
#include "model/anylayout/AnyLayoutObjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

// The text, then its binary (32- and 64-bit floats), compressed text and compressed binary twins.
inline std::vector<std::string> TwinsOf(const std::string& text)
{
    using Bytes = std::vector<std::uint8_t>;
    xfile::Document document;
    std::string error;
    EXPECT_TRUE(xfile::ReadTextObjectsAnyLayout(text, document, error)) << error;
    auto chars = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const Bytes binary = xfile::WriteBinary(document, 4);
    return {text, chars(binary), chars(xfile::WriteBinary(document, 8)),
            chars(xfile::CompressMszip(Bytes(text.begin(), text.end()), 900)),
            chars(xfile::CompressMszip(binary, 900))};
}

}  // namespace testing_support
