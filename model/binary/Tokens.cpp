#include "model/binary/Tokens.h"

namespace xfile {

bool IsKnownToken(std::uint16_t word)
{
    return (word >= 1 && word <= 7 && word != 4) || (word >= 10 && word <= 20) || word == 31 || (word >= 40 && word <= 52);
}

bool IsPrimitiveType(Token token)
{
    const auto word = static_cast<std::uint16_t>(token);
    return word >= static_cast<std::uint16_t>(Token::Word) && word <= static_cast<std::uint16_t>(Token::Array);
}

std::string_view TokenKeyword(Token token)
{
    switch (token) {
    case Token::OpenBrace: return "{";
    case Token::CloseBrace: return "}";
    case Token::OpenParen: return "(";
    case Token::CloseParen: return ")";
    case Token::OpenBracket: return "[";
    case Token::CloseBracket: return "]";
    case Token::OpenAngle: return "<";
    case Token::CloseAngle: return ">";
    case Token::Dot: return ".";
    case Token::Comma: return ",";
    case Token::Semicolon: return ";";
    case Token::Template: return "template";
    case Token::Word: return "WORD";
    case Token::Dword: return "DWORD";
    case Token::Float: return "FLOAT";
    case Token::Double: return "DOUBLE";
    case Token::Char: return "CHAR";
    case Token::Uchar: return "UCHAR";
    case Token::Sword: return "SWORD";
    case Token::Sdword: return "SDWORD";
    case Token::Void: return "VOID";
    case Token::Lpstr: return "STRING";
    case Token::Unicode: return "UNICODE";
    case Token::Cstring: return "CSTRING";
    case Token::Array: return "array";
    default: return {};
    }
}

std::string_view TokenDescription(Token token)
{
    switch (token) {
    case Token::Name: return "un nom";
    case Token::String: return "une chaîne";
    case Token::Integer: return "un entier";
    case Token::Guid: return "un GUID";
    case Token::IntegerList: return "une liste d'entiers";
    case Token::FloatList: return "une liste de flottants";
    case Token::OpenBrace: return "un jeton \"{\"";
    case Token::CloseBrace: return "un jeton \"}\"";
    case Token::OpenParen: return "un jeton \"(\"";
    case Token::CloseParen: return "un jeton \")\"";
    case Token::OpenBracket: return "un jeton \"[\"";
    case Token::CloseBracket: return "un jeton \"]\"";
    case Token::OpenAngle: return "un jeton \"<\"";
    case Token::CloseAngle: return "un jeton \">\"";
    case Token::Dot: return "un jeton \".\"";
    case Token::Comma: return "un jeton \",\"";
    case Token::Semicolon: return "un jeton \";\"";
    case Token::Template: return "un jeton \"template\"";
    case Token::Word: return "un jeton \"WORD\"";
    case Token::Dword: return "un jeton \"DWORD\"";
    case Token::Float: return "un jeton \"FLOAT\"";
    case Token::Double: return "un jeton \"DOUBLE\"";
    case Token::Char: return "un jeton \"CHAR\"";
    case Token::Uchar: return "un jeton \"UCHAR\"";
    case Token::Sword: return "un jeton \"SWORD\"";
    case Token::Sdword: return "un jeton \"SDWORD\"";
    case Token::Void: return "un jeton \"VOID\"";
    case Token::Lpstr: return "un jeton \"STRING\"";
    case Token::Unicode: return "un jeton \"UNICODE\"";
    case Token::Cstring: return "un jeton \"CSTRING\"";
    case Token::Array: return "un jeton \"array\"";
    }
    return "un jeton inconnu";
}

}  // namespace xfile
