// Portable pixmaps: "P6" (binary samples) and "P3" (decimal samples).
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

#include <cstring>

namespace {

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
bool IsSpace(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

class PpmCursor {
public:
    explicit PpmCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    std::uint8_t Peek() const { return bytes_[position_]; }
    void Skip(std::size_t count) { position_ += count; }
    const std::uint8_t* Here() const { return bytes_.data() + position_; }

    // Up to the next digit, through "#" comments that run to a line feed;
    // false when the file ends first.
    bool SkipToDigit()
    {
        while (!AtEnd()) {
            const std::uint8_t c = bytes_[position_];
            if (IsDigit(c)) return true;
            ++position_;
            if (c == '#')
                while (!AtEnd() && bytes_[position_++] != '\n') {
                }
        }
        return false;
    }

    void SkipSpaces()
    {
        while (!AtEnd() && IsSpace(bytes_[position_])) ++position_;
    }

    enum class Number { Read, Missing, End };

    // An unsigned decimal number after optional white space, kept modulo 2^32
    // in `value`; `overflow` tells whether it did not fit.
    Number ReadNumber(std::uint32_t& value, bool& overflow)
    {
        SkipSpaces();
        if (AtEnd()) return Number::End;
        if (!IsDigit(bytes_[position_])) return Number::Missing;
        value = 0;
        overflow = false;
        while (!AtEnd() && IsDigit(bytes_[position_])) {
            const std::uint32_t digit = bytes_[position_++] - '0';
            overflow |= __builtin_mul_overflow(value, 10u, &value);
            overflow |= __builtin_add_overflow(value, digit, &value);
        }
        return Number::Read;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace

Decoded<TextureImage> DecodePpm(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    const auto incomplete = [&] { return Refuse(result, IncompleteMessage(kPpm, context.name)); };
    const auto invalid = [&] { return Refuse(result, ReaderMessage(kPpm, context.name, " n'est pas valide")); };

    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '6' && bytes[1] != '3'))
        return Refuse(result, ReaderMessage(kPpm, context.name, " n'est pas un .ppm"));
    const bool binary = bytes[1] == '6';

    PpmCursor cursor(bytes);
    cursor.Skip(2);
    if (!cursor.SkipToDigit()) return incomplete();
    std::uint32_t width = 0, height = 0, maxValue = 0;
    bool widthOverflow = false, heightOverflow = false, maxOverflow = false;
    cursor.ReadNumber(width, widthOverflow);  // a digit is next, so this reads
    switch (cursor.ReadNumber(height, heightOverflow)) {
    case PpmCursor::Number::End: return incomplete();
    case PpmCursor::Number::Missing: return invalid();
    case PpmCursor::Number::Read: break;
    }
    cursor.SkipSpaces();
    if (widthOverflow || heightOverflow) return invalid();
    if (!SidesAccepted(width, height, context.maxSide))
        return Refuse(result, SizeMessage(kPpm, context.name, width, height));
    const std::size_t sampleCount = *ImageBytes(width, height, 3);

    // The maximum value is read and not used: samples are bytes as they stand.
    if (!cursor.SkipToDigit()) return incomplete();
    cursor.ReadNumber(maxValue, maxOverflow);

    TextureImage image;
    image.width = width;
    image.height = height;
    image.components = 3;
    if (binary) {
        // Exactly one byte ends the maximum value; the samples follow, whatever they are.
        if (cursor.AtEnd()) return incomplete();
        cursor.Skip(1);
        if (cursor.Remaining() < sampleCount) return incomplete();
        std::vector<std::uint8_t> samples;
        if (!CopyBytes(samples, {cursor.Here(), sampleCount})) return Refuse(result, MemoryMessage(kPpm, context.name));
        image.pixels = std::move(samples);
    } else {
        // Every sample takes at least one byte: a shorter file cannot hold them all.
        if (cursor.Remaining() < sampleCount) return incomplete();
        std::vector<std::uint8_t> samples;
        if (!ReserveBytes(samples, sampleCount)) return Refuse(result, MemoryMessage(kPpm, context.name));
        for (std::size_t i = 0; i < sampleCount; ++i) {
            std::uint32_t sample = 0;
            bool overflow = false;
            switch (cursor.ReadNumber(sample, overflow)) {
            case PpmCursor::Number::End: return incomplete();
            case PpmCursor::Number::Missing: return invalid();
            case PpmCursor::Number::Read: break;
            }
            samples[i] = static_cast<std::uint8_t>(sample);  // the low 8 bits
        }
        image.pixels = std::move(samples);
    }
    result.image = std::move(image);
    return result;
}

HRESULT LoadTexture::Load_Ppm(const TextureFile& file)
{
    return ReadDecodeUpload(file, TextureFormat::Ppm, GL_LINEAR_MIPMAP_LINEAR);
}
