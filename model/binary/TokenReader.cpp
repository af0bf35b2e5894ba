#include "model/binary/TokenReader.h"

#include "model/binary/LittleEndian.h"
#include "model/binary/Refusal.h"

#include <algorithm>
#include <utility>

namespace xfile {

TokenReader::TokenReader(std::span<const std::uint8_t> file, unsigned floatBytes, std::size_t start,
                         ArrivingBytes* arriving)
    : file_(file),
      floatBytes_(floatBytes),
      arriving_(arriving),
      // What stands before the start is never read.
      ready_(arriving != nullptr ? std::min(start, file.size()) : file.size()),
      position_(std::min(start, file.size()))
{
}

bool TokenReader::Arrive(std::uint64_t bytes)
{
    const std::uint64_t wanted = std::min<std::uint64_t>(position_ + bytes, file_.size());
    ready_ = std::max(ready_, std::min(arriving_->WaitFor(static_cast<std::size_t>(wanted)), file_.size()));
    return bytes <= ready_ - position_;
}

TokenReader::Step TokenReader::Fail(std::string what, std::size_t offset, std::string problem)
{
    faulted_ = true;
    fault_ = TokenFault{std::move(what), offset, std::move(problem)};
    return Step::Fault;
}

TokenReader::Step TokenReader::Cut(std::string what, std::size_t offset)
{
    return Fail(std::move(what), offset,
                detail::Format("dépasse la fin des données (%zu octets restants)", ready_ - position_));
}

std::optional<Token> TokenReader::Peek()
{
    if (faulted_ || !Has(2)) return std::nullopt;
    const std::uint16_t word = detail::ReadLe16(file_.data() + position_);
    if (!IsKnownToken(word)) return std::nullopt;
    return static_cast<Token>(word);
}

TokenReader::Step TokenReader::Next(TokenRecord& record)
{
    if (faulted_) return Step::Fault;
    if (!Has(1)) return Step::End;
    const std::size_t offset = position_;
    if (!Has(2)) return Cut("un jeton", offset);
    const std::uint16_t word = detail::ReadLe16(file_.data() + position_);
    if (!IsKnownToken(word)) return Fail(detail::Format("le jeton %u", word), offset, "est inconnu");
    position_ += 2;
    const bool afterString = std::exchange(afterString_, false);
    record = TokenRecord{};
    record.token = static_cast<Token>(word);
    record.offset = offset;
    const std::uint8_t* at = file_.data() + position_;

    switch (record.token) {
    case Token::Name:
    case Token::String: {
        const char* what = record.token == Token::Name ? "un nom" : "une chaîne";
        if (!Has(4)) return Cut(what, offset);
        const std::uint32_t length = detail::ReadLe32(at);
        position_ += 4;
        if (!Has(length))
            return Cut(detail::Format("%s de %u octets", record.token == Token::Name ? "le nom" : "la chaîne", length),
                       offset);
        record.text = std::string_view(reinterpret_cast<const char*>(at + 4), length);
        position_ += length;
        afterString_ = record.token == Token::String;
        return Step::Token;
    }
    case Token::Integer:
        if (!Has(4)) return Cut("un entier", offset);
        record.count = detail::ReadLe32(at);
        position_ += 4;
        return Step::Token;
    case Token::Guid:
        if (!Has(16)) return Cut("un GUID", offset);
        record.guid.data1 = detail::ReadLe32(at);
        record.guid.data2 = detail::ReadLe16(at + 4);
        record.guid.data3 = detail::ReadLe16(at + 6);
        for (std::size_t i = 0; i < 8; ++i) record.guid.data4[i] = at[8 + i];
        position_ += 16;
        return Step::Token;
    case Token::IntegerList:
    case Token::FloatList: {
        const bool integers = record.token == Token::IntegerList;
        if (!Has(4)) return Cut(integers ? "une liste d'entiers" : "une liste de flottants", offset);
        record.count = detail::ReadLe32(at);
        position_ += 4;
        const std::uint64_t bytes = std::uint64_t{record.count} * (integers ? 4u : floatBytes_);
        if (!Has(bytes))
            return Cut(detail::Format("la liste de %u %s", record.count, integers ? "entiers" : "flottants"), offset);
        record.values = at + 4;
        position_ += bytes;
        return Step::Token;
    }
    case Token::Comma:
    case Token::Semicolon:
        // A string's terminator is a token; some writers make it 32 bits wide.
        // Token 0 does not exist, so a zero word here can only be that padding.
        if (afterString && Has(2) && detail::ReadLe16(file_.data() + position_) == 0) position_ += 2;
        return Step::Token;
    default:
        return Step::Token;
    }
}

}  // namespace xfile
