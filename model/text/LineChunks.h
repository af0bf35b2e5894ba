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

// Reads every element of [0, count), by chunks on every core: readerOf(chunk,
// first) makes, on the chunk's thread, the reader of that chunk's elements in
// turn from element `first` on,
// a callable (element, fault) that fills `fault` and returns false to stop
// its chunk there. The first fault in element order, or nothing.
template <class Fault, class ReaderOf>
std::optional<Fault> ReadLinesInChunks(std::size_t count, ReaderOf&& readerOf)
{
    std::vector<std::optional<Fault>> faults(platform::ChunkCount(count, kLinesPerChunk));
    platform::ParallelFor(count, kLinesPerChunk, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        auto read = readerOf(chunk, begin);
        Fault fault{};
        for (std::size_t element = begin; element < end; ++element) {
            if (!read(element, fault)) {
                faults[chunk] = fault;
                return;
            }
        }
    });
    for (const std::optional<Fault>& fault : faults)
        if (fault) return fault;
    return std::nullopt;
}

}  // namespace reading
