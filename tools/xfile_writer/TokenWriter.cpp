#include "tools/xfile_writer/TokenWriter.h"

#include "model/binary/LittleEndian.h"

#include <bit>

namespace xfile {

TokenWriter& TokenWriter::Header()
{
    const std::string_view header = floatBytes_ == 8 ? "xof 0303bin 0064" : "xof 0303bin 0032";
    bytes_.insert(bytes_.end(), header.begin(), header.end());
    return *this;
}

TokenWriter& TokenWriter::Raw16(std::uint16_t value)
{
    detail::AppendLe16(bytes_, value);
    return *this;
}

TokenWriter& TokenWriter::Raw32(std::uint32_t value)
{
    detail::AppendLe32(bytes_, value);
    return *this;
}

TokenWriter& TokenWriter::Name(std::string_view name)
{
    Word(Token::Name).Raw32(static_cast<std::uint32_t>(name.size()));
    bytes_.insert(bytes_.end(), name.begin(), name.end());
    return *this;
}

TokenWriter& TokenWriter::String(std::string_view text, Token terminator)
{
    Word(Token::String).Raw32(static_cast<std::uint32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return Word(terminator);
}

TokenWriter& TokenWriter::Integer(std::uint32_t value) { return Word(Token::Integer).Raw32(value); }

TokenWriter& TokenWriter::GuidRecord(const Guid& guid)
{
    Word(Token::Guid).Raw32(guid.data1).Raw16(guid.data2).Raw16(guid.data3);
    bytes_.insert(bytes_.end(), guid.data4.begin(), guid.data4.end());
    return *this;
}

TokenWriter& TokenWriter::Integers(std::span<const std::uint32_t> values)
{
    Word(Token::IntegerList).Raw32(static_cast<std::uint32_t>(values.size()));
    for (const std::uint32_t value : values) detail::AppendLe32(bytes_, value);
    return *this;
}

TokenWriter& TokenWriter::Floats(std::span<const float> values)
{
    Word(Token::FloatList).Raw32(static_cast<std::uint32_t>(values.size()));
    for (const float value : values) {
        if (floatBytes_ == 8)
            detail::AppendLe64(bytes_, std::bit_cast<std::uint64_t>(static_cast<double>(value)));
        else
            detail::AppendLe32(bytes_, std::bit_cast<std::uint32_t>(value));
    }
    return *this;
}

}  // namespace xfile
