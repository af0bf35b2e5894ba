// A block's numbers in file order, read the way the object rules
// (model/objects) take them: an index or a count only where the file writes
// an unsigned integer, as in a binary file.
#pragma once

#include <cstdint>
#include <vector>

class BlockNumbers {
public:
    static constexpr std::uint64_t kNotInteger = ~std::uint64_t{0};

    // `integers[k]` is number k's integer value, or kNotInteger.
    BlockNumbers(std::vector<float> numbers, std::vector<std::uint64_t> integers)
        : numbers_(std::move(numbers)), integers_(std::move(integers))
    {
    }
    std::size_t remaining() const { return numbers_.size() - at_; }
    bool NextFloat(float& value)
    {
        if (at_ >= numbers_.size()) return false;
        value = numbers_[at_++];
        return true;
    }
    // "12" is one; "12.0", "1.5", "-3" and "1e2" are not (nor is anything
    // beyond 32 bits), and are not taken.
    bool NextInteger(std::uint32_t& value)
    {
        if (at_ >= numbers_.size() || integers_[at_] == kNotInteger) return false;
        value = static_cast<std::uint32_t>(integers_[at_++]);
        return true;
    }

private:
    std::vector<float> numbers_;
    std::vector<std::uint64_t> integers_;
    std::size_t at_ = 0;
};
