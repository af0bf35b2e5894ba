// A block's numbers in file order, read the way the object rules
// (model/objects) take them: an index or a count only where the file writes
// an unsigned integer, as in a binary file. Four bytes and a bit a number,
// as many as the floats alone would take.
#pragma once

#include <bit>
#include <optional>
#include <cstdint>
#include <string_view>
#include <vector>

class BlockNumbers {
public:
    // A number as read, and the text it was read from.
    void Add(float value, std::string_view field)
    {
        const std::optional<std::uint32_t> integer = IntegerOf(field);
        values_.push_back(integer ? *integer : std::bit_cast<std::uint32_t>(value));
        integral_.push_back(integer.has_value());
    }

    std::size_t remaining() const { return values_.size() - at_; }
    bool NextFloat(float& value)
    {
        if (at_ >= values_.size()) return false;
        // An integer's float is the one its digits read as: both round to nearest.
        value = integral_[at_] ? static_cast<float>(values_[at_]) : std::bit_cast<float>(values_[at_]);
        ++at_;
        return true;
    }
    // "12" is one; "12.0", "1.5", "-3", "1e2" and anything beyond 32 bits
    // are not, and are not taken.
    bool NextInteger(std::uint32_t& value)
    {
        if (at_ >= values_.size() || !integral_[at_]) return false;
        value = values_[at_++];
        return true;
    }

private:
    static std::optional<std::uint32_t> IntegerOf(std::string_view field)
    {
        constexpr std::size_t kLongest = 10;  // 4294967295
        if (field.empty() || field.size() > kLongest) return std::nullopt;
        std::uint64_t value = 0;
        for (const char c : field) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (value > 0xFFFFFFFFu) return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }

    std::vector<std::uint32_t> values_;  // an integer, or a float's bits
    std::vector<bool> integral_;
    std::size_t at_ = 0;
};
