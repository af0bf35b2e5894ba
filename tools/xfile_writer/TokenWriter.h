// Writes the tokens of a binary ".x" file one at a time, as the file holds
// them; tests also use it to write what no honest writer would.
#pragma once

#include "model/binary/Tokens.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xfile {

class TokenWriter {
public:
    // `floatBytes`: 4 or 8, the size of each float list value.
    explicit TokenWriter(unsigned floatBytes = 4) : floatBytes_(floatBytes) {}

    // "xof 0303bin 0032" or "… 0064", as the float size says.
    TokenWriter& Header();
    // A token alone ("{", ";", "template", "DWORD"…), or any word at all.
    TokenWriter& Word(Token token) { return Raw16(static_cast<std::uint16_t>(token)); }
    TokenWriter& Name(std::string_view name);
    // The string, then its terminator token.
    TokenWriter& String(std::string_view text, Token terminator = Token::Semicolon);
    TokenWriter& Integer(std::uint32_t value);
    TokenWriter& GuidRecord(const Guid& guid);
    TokenWriter& Integers(std::span<const std::uint32_t> values);
    TokenWriter& Floats(std::span<const float> values);
    // Bare little-endian fields, for records that lie.
    TokenWriter& Raw16(std::uint16_t value);
    TokenWriter& Raw32(std::uint32_t value);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    unsigned floatBytes_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace xfile
