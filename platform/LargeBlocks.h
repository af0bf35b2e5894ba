// An allocator for the few large arrays a load fills at once: a file's
// bytes, its inflated form, the values read from it.
//
// Two things make those arrays cheaper than in a plain std::vector:
// - resize() leaves new elements uninitialised: they are written at once,
//   and zeroing first doubles the passes over tens of megabytes;
// - blocks of 2 MiB or more come straight from the kernel, aligned to and
//   marked for transparent huge pages where the kernel offers them, so that
//   filling 40 MB costs some twenty page faults instead of ten thousand
//   (on virtual machines each of those is dear).
// Smaller blocks come from the ordinary allocator.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

// The bytes of a large block: from the kernel, never null (throws
// std::bad_alloc), released with ReleaseLargeBlock and the same size.
void* AcquireLargeBlock(std::size_t bytes);
void ReleaseLargeBlock(void* block, std::size_t bytes) noexcept;
#if defined(__SANITIZE_ADDRESS__)
#define PELMORA_LARGE_BLOCKS_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELMORA_LARGE_BLOCKS_CHECKED 1
#endif
#endif
#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
// Under AddressSanitizer every block comes from the checked allocator.
inline constexpr std::size_t kLargeBlockBytes = std::size_t(-1);
#else
inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;
#endif

// Gives back the memory of `bytes` bytes at `begin`, which nobody reads
// again: in a block of `capacity` bytes that came from the kernel, the whole
// pages they cover go back to it (they would read as zeros). Smaller blocks
// keep their memory. Under AddressSanitizer the bytes are poisoned instead,
// whatever the block, so that a later read of them is reported.
// Giving back part of a huge page splits it into ordinary pages, and on a
// virtual machine the first later reads of the rest of it are slow: worth it
// where the memory saved matters (a reader giving back what it has read), not
// for a few megabytes read again at once (a line table's unused end).
void ForgetBytes(const void* begin, std::size_t bytes, std::size_t capacity) noexcept;
// Has the kernel put memory behind the whole pages of the `bytes` bytes at
// `begin` now, as first writes would, without writing them: for a block that
// another thread is about to fill, so that the filling does not stop on the
// first touch of each page. A hint; the memory works the same without it.
void PrefaultForWriting(const void* begin, std::size_t bytes) noexcept;

// Below ForgetBytes' own granularity (a page, or a huge page to keep them
// whole) a reader gains nothing from giving back what it has read; under
// AddressSanitizer, every few bytes, so that small inputs check that nothing
// given back is read again.
#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
inline constexpr std::size_t kForgetStepBytes = 64;
#else
inline constexpr std::size_t kForgetStepBytes = std::size_t{2} << 20;
#endif

// Makes a block whose bytes ForgetBytes poisoned whole again before it is
// freed; nothing outside AddressSanitizer.
#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
void RestoreForgotten(void* block, std::size_t bytes) noexcept;
#else
inline void RestoreForgotten(void*, std::size_t) noexcept {}
#endif

template <class T>
struct LargeBlockAllocator {
    static_assert(std::is_trivially_copyable_v<T>, "for plain values only");
    using value_type = T;

    LargeBlockAllocator() = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t count)
    {
        if (count > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        const std::size_t bytes = count * sizeof(T);
        if (bytes >= kLargeBlockBytes) return static_cast<T*>(AcquireLargeBlock(bytes));
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
        RestoreForgotten(block, bytes);
        if (bytes >= kLargeBlockBytes)
            ReleaseLargeBlock(block, bytes);
        else
            std::allocator<T>().deallocate(block, count);
    }

    // Default-initialises: a new element is left as it was until written.
    template <class U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }

    template <class U>
    bool operator==(const LargeBlockAllocator<U>&) const noexcept
    {
        return true;
    }
};

template <class T>
using LargeVector = std::vector<T, LargeBlockAllocator<T>>;

// Elements [first, first + count) of `values` are never read again (see
// ForgetBytes). The vector may still be cleared or destroyed, not grown or copied.
template <class T>
void ForgetValues(LargeVector<T>& values, std::size_t first, std::size_t count) noexcept
{
    if (count == 0 || first >= values.size()) return;
    count = std::min(count, values.size() - first);
    ForgetBytes(values.data() + first, count * sizeof(T), values.capacity() * sizeof(T));
}

// For a reader moving forward through `values`: gives back, by steps of
// kForgetStepBytes, the elements before `end` that are not given back yet,
// `forgotten` counting those that are.
template <class T>
void ForgetValuesBefore(LargeVector<T>& values, std::size_t end, std::size_t& forgotten) noexcept
{
    constexpr std::size_t step = std::max<std::size_t>(kForgetStepBytes / sizeof(T), 1);
    const std::size_t upTo = end / step * step;
    if (upTo <= forgotten) return;
    ForgetValues(values, forgotten, upTo - forgotten);
    forgotten = upTo;
}

}  // namespace platform
