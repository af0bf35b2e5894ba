// The long lists of a text file, one element a line (vertices, faces, texture
// coordinates, a material for each face), read on every core. The lines are
// cut into chunks by their number alone; each chunk reads its own elements
// and stops at its first fault, and the faults are taken in chunk order, so
// the fault reported is the first of the file whatever the number of threads.
#pragma once

#include "platform/ParallelFor.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace reading {

// Enough lines that a chunk outweighs handing it to a thread (a few hundred
// microseconds), few enough that both cores stay busy to the end of a list.
inline constexpr std::size_t kLinesPerChunk = 16384;

// Reads the elements [begin, end) of chunk `chunk` with the reader
// readerOf(chunk, begin) makes, noting the fault it stops at.
template <class Fault, class ReaderOf>
void ReadChunkOfLines(std::size_t chunk, std::size_t begin, std::size_t end, ReaderOf& readerOf,
                      std::vector<std::optional<Fault>>& faults)
{
    auto read = readerOf(chunk, begin);
    Fault fault{};
    for (std::size_t element = begin; element < end; ++element) {
        if (!read(element, fault)) {
            faults[chunk] = fault;
            return;
        }
    }
}

template <class Fault>
std::optional<Fault> FirstFault(const std::vector<std::optional<Fault>>& faults)
{
    for (const std::optional<Fault>& fault : faults)
        if (fault) return fault;
    return std::nullopt;
}

// Reads every element of [0, count), by chunks on every core: readerOf(chunk,
// first) makes, on the chunk's thread, the reader of that chunk's elements in
// turn from element `first` on, a callable (element, fault) that fills `fault`
// and returns false to stop its chunk there. The first fault in element
// order, or nothing.
template <class Fault, class ReaderOf>
std::optional<Fault> ReadLinesInChunks(std::size_t count, ReaderOf&& readerOf)
{
    std::vector<std::optional<Fault>> faults(platform::ChunkCount(count, kLinesPerChunk));
    platform::ParallelFor(count, kLinesPerChunk, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        ReadChunkOfLines(chunk, begin, end, readerOf, faults);
    });
    return FirstFault(faults);
}

// The same, with `beside` run once as a chunk of its own, taken by whichever
// core comes to it first: serial work of the caller's (a list sized and
// zeroed) then costs one core while the other reads these lines. A list of
// fewer than two chunks runs `beside` first, on the calling thread.
template <class Fault, class Beside, class ReaderOf>
std::optional<Fault> ReadLinesInChunksBeside(std::size_t count, Beside&& beside, ReaderOf&& readerOf)
{
    const std::size_t chunks = platform::ChunkCount(count, kLinesPerChunk);
    if (chunks < 2) {
        beside();
        return ReadLinesInChunks<Fault>(count, readerOf);
    }
    std::vector<std::optional<Fault>> faults(chunks);
    // `beside` first, so that it runs while the other core starts on the lines.
    platform::RunChunks(chunks + 1, [&](std::size_t k) {
        if (k == 0) return beside();
        const std::size_t chunk = k - 1;
        ReadChunkOfLines(chunk, platform::ChunkStart(count, chunks, chunk),
                         platform::ChunkStart(count, chunks, chunk + 1), readerOf, faults);
    });
    return FirstFault(faults);
}

}  // namespace reading
