// The tokens of binary ".x" files: each a little-endian 16-bit word, some
// followed by a record (a name, a string, numbers, a GUID).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace xfile {

enum class Token : std::uint16_t {
    // With a record.
    Name = 1,
    String = 2,
    Integer = 3,
    Guid = 5,
    IntegerList = 6,
    FloatList = 7,
    // Alone.
    OpenBrace = 10,
    CloseBrace = 11,
    OpenParen = 12,
    CloseParen = 13,
    OpenBracket = 14,
    CloseBracket = 15,
    OpenAngle = 16,
    CloseAngle = 17,
    Dot = 18,
    Comma = 19,
    Semicolon = 20,
    Template = 31,
    Word = 40,
    Dword = 41,
    Float = 42,
    Double = 43,
    Char = 44,
    Uchar = 45,
    Sword = 46,
    Sdword = 47,
    Void = 48,
    Lpstr = 49,
    Unicode = 50,
    Cstring = 51,
    Array = 52,
};

// A GUID as the binary record holds it (and the text writes it:
// <data1-data2-data3-data4[0..1]-data4[2..7]>).
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
    bool operator==(const Guid&) const = default;
};

// Whether `word` is one of the tokens above.
bool IsKnownToken(std::uint16_t word);
// WORD, DWORD, FLOAT … ARRAY: the primitive types, which may also name an object's type.
bool IsPrimitiveType(Token token);
// The word a token stands for in the text form: "{", "template", "DWORD";
// empty for tokens with a record.
std::string_view TokenKeyword(Token token);
// How a message names a token: "un nom", "une liste d'entiers", "un jeton \"{\"".
std::string_view TokenDescription(Token token);

// One token as the reader found it. Views point into the bytes being read.
struct TokenRecord {
    Token token = Token::Name;
    // Offset of the token's word from the start of the file (header included).
    std::size_t offset = 0;
    // Name and String: the bytes of the record.
    std::string_view text;
    // Integer: the value; IntegerList and FloatList: how many values.
    std::uint32_t count = 0;
    // IntegerList and FloatList: the first value, little-endian, unaligned.
    const std::uint8_t* values = nullptr;
    Guid guid;
};

}  // namespace xfile
