// Reads the tokens of a binary ".x" file one at a time. Every length and
// count is checked against the bytes that remain before the record is
// accepted; nothing is copied or allocated.
#pragma once

#include "model/binary/Tokens.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace xfile {

// Why the reader stopped: what it was reading, where, and what was wrong,
// for a message such as "la liste de 12 flottants" + " à l'octet 96 " +
// "dépasse la fin des données (20 octets restants)".
struct TokenFault {
    std::string what;
    std::size_t offset = 0;
    std::string problem;
};

// Data whose bytes arrive while it is read, such as a file that inflates on
// another thread.
class ArrivingBytes {
public:
    // Waits until the first `wanted` bytes stand ready or no more will come,
    // and returns how many stand ready. The bytes returned stay unchanged.
    virtual std::size_t WaitFor(std::size_t wanted) = 0;

protected:
    ~ArrivingBytes() = default;
};

class TokenReader {
public:
    enum class Step { Token, End, Fault };

    // `file` is the whole file, header included; tokens start at `start`.
    // `floatBytes` is 4 or 8, from the header. With `arriving`, the bytes of
    // `file` are read only once it says they stand ready, and the data ends
    // where it says no more will come.
    TokenReader(std::span<const std::uint8_t> file, unsigned floatBytes, std::size_t start,
                ArrivingBytes* arriving = nullptr);

    // Reads the next token into `record`. End when no byte is left; Fault
    // (and every call after it) when the bytes cannot be a token.
    Step Next(TokenRecord& record);
    // The next token without reading it; nothing at the end or before a fault.
    std::optional<Token> Peek();

    const TokenFault& fault() const { return fault_; }
    std::size_t position() const { return position_; }

private:
    Step Fail(std::string what, std::size_t offset, std::string problem);
    // Whether `bytes` more stand in the data, waiting for them if they are
    // still to arrive; otherwise the fault says what was cut.
    bool Has(std::uint64_t bytes) { return bytes <= ready_ - position_ || (arriving_ != nullptr && Arrive(bytes)); }
    bool Arrive(std::uint64_t bytes);
    Step Cut(std::string what, std::size_t offset);

    std::span<const std::uint8_t> file_;
    unsigned floatBytes_;
    ArrivingBytes* arriving_;
    std::size_t ready_;
    std::size_t position_;
    bool faulted_ = false;
    // Set after a string: its terminator may be written as a 32-bit word.
    bool afterString_ = false;
    TokenFault fault_;
};

}  // namespace xfile
