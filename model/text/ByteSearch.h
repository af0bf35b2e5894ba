// Byte searches over a whole text in one pass, sixteen bytes at a time with
// SSE2 where the machine has it, else eight at a time in plain integers.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace byte_search {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

// A mask with the high bit of every byte of `word` that is zero, and no other bit.
inline std::uint64_t ZeroBytes(std::uint64_t word)
{
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

inline std::uint64_t Load(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

inline std::size_t Count(const char* from, const char* end, char wanted)
{
    std::size_t count = 0;
#if defined(__SSE2__)
    // Per-byte counters of up to 255 blocks of 16 bytes, then summed.
    const __m128i wantedBytes = _mm_set1_epi8(wanted);
    while (end - from >= 16) {
        __m128i counters = _mm_setzero_si128();
        for (int block = 0; block < 255 && end - from >= 16; ++block, from += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(bytes, wantedBytes));
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(wanted);
    // Summing the eight 0-or-1 bytes with one multiplication (no popcount
    // instruction is assumed).
    for (; end - from >= 8; from += 8) count += static_cast<std::size_t>(((ZeroBytes(Load(from) ^ pattern) >> 7) * kOnes) >> 56);
    for (; from < end; ++from) count += *from == wanted;
    return count;
}

// Calls `found(position)` for every byte of [from, end) that is one of
// three bytes, in order, reading each byte once.
template <class Found>
void ForEachOfThree(const char* from, const char* end, char first, char second, char third, Found&& found)
{
#if defined(__SSE2__)
    const __m128i firstBytes = _mm_set1_epi8(first), secondBytes = _mm_set1_epi8(second),
                  thirdBytes = _mm_set1_epi8(third);
    for (; end - from >= 16; from += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i marks = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, firstBytes), _mm_cmpeq_epi8(block, secondBytes)),
                                           _mm_cmpeq_epi8(block, thirdBytes));
        for (unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(marks)); hits; hits &= hits - 1)
            found(from + std::countr_zero(hits));
    }
#endif
    for (; from < end; ++from)
        if (*from == first || *from == second || *from == third) found(from);
}

}  // namespace byte_search
