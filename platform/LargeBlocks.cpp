#include "platform/LargeBlocks.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
#include <sanitizer/asan_interface.h>
#endif

namespace platform {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundedUp(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit * unit; }

std::size_t PageSize()
{
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return page;
}

// Gives `advice` for the whole units of `unit` bytes (pages, huge pages)
// that lie inside the `bytes` bytes at `begin`.
void AdviseWholeUnits(const void* begin, std::size_t bytes, std::size_t unit, int advice) noexcept
{
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = RoundedUp(start, unit);
    const std::uintptr_t end = (start + bytes) / unit * unit;
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, advice);
}

// What a block of `bytes` bytes maps. Huge pages back its whole aligned
// stretches. The tail past the last one is a huge page too when that wastes
// at most an eighth of the block: each first touch of an ordinary page costs
// a fault, and on virtual machines a fault is dear (a 4 MB list filled on
// ordinary pages takes a thousand of them). Otherwise the tail takes
// ordinary pages and at most a page is wasted.
std::size_t MappedSize(std::size_t bytes)
{
    const std::size_t whole = RoundedUp(bytes, kHugePage);
    return whole - bytes <= bytes / 8 ? whole : RoundedUp(bytes, PageSize());
}

}  // namespace

void* AcquireLargeBlock(std::size_t bytes)
{
    if (bytes > std::size_t(-1) - 2 * kHugePage) throw std::bad_alloc();
    const std::size_t size = MappedSize(bytes);
    // Mapped with room to spare, then trimmed so that the block starts on a
    // huge-page boundary: a huge page can only back an aligned range.
    const std::size_t mapped = size + kHugePage;
    void* area = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = RoundedUp(start, kHugePage);
    if (aligned > start) munmap(area, aligned - start);
    const std::uintptr_t end = start + mapped;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    void* block = reinterpret_cast<void*>(aligned);
    madvise(block, size, MADV_HUGEPAGE);  // a hint: without it the block still works
    return block;
}

void ReleaseLargeBlock(void* block, std::size_t bytes) noexcept
{
    if (block != nullptr) munmap(block, MappedSize(bytes));
}

void ForgetBytes(const void* begin, std::size_t bytes, std::size_t capacity) noexcept
{
#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
    (void)capacity;
    ASAN_POISON_MEMORY_REGION(begin, bytes);
#else
    if (capacity < kLargeBlockBytes || bytes == 0) return;
    AdviseWholeUnits(begin, bytes, PageSize(), MADV_DONTNEED);
#endif
}

void PrefaultForWriting(const void* begin, std::size_t bytes) noexcept
{
#if defined(MADV_POPULATE_WRITE)
    AdviseWholeUnits(begin, bytes, PageSize(), MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)bytes;
#endif
}

#if defined(PELMORA_LARGE_BLOCKS_CHECKED)
void RestoreForgotten(void* block, std::size_t bytes) noexcept { ASAN_UNPOISON_MEMORY_REGION(block, bytes); }
#endif

}  // namespace platform
