// Reading a ".x" text file into a Model: the bytes, the significant lines,
// then the walk and the opacity order.
#include "model/text/TextReader.h"

#include "model/text/SignificantLines.h"
#include "model/text/TextWalk.h"
#include "model/SourceFile.h"
#include "platform/LargeBlocks.h"
#include "platform/ParallelFor.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The file's bytes, written by the read without being cleared first.
using TextBytes = platform::LargeVector<char>;

constexpr std::size_t kPiece = std::size_t{1} << 18;

// A large file on several cores. Each core reads parts of the file in pieces
// and finds, while each piece is in cache, the lines that begin after a line
// feed of its part (the first part, the first line too); the last line of a
// part, which runs into the next part, is finished once every part is read.
std::optional<LoadError> ReadWholeFileInParts(const SourceFile& file, TextBytes& bytes, SplitText& split)
{
    char* const text = bytes.data();
    const std::size_t size = bytes.size();
    const std::size_t partCount = platform::ChunkCount(size, kBytesPerSplitPart);
    std::vector<std::optional<LineSplitter>> splitters(partCount);
    std::vector<char> failed(partCount, 0);
    std::vector<int> errors(partCount, 0);  // the errno of a failed read, 0 when the file ended first
    platform::ParallelFor(size, kBytesPerSplitPart, [&](std::size_t part, std::size_t begin, std::size_t end) {
        // Filled on the thread's own stack, then moved to its slot: the slots
        // lie side by side, and a splitter written there for every line would
        // share a cache line with its neighbour's on the other core.
        LineSplitter splitter(text);
        splitter.Reserve(LinesToReserveForPart(end - begin));
        bool lineBegun = part == 0;
        for (std::size_t offset = begin; offset < end; offset += kPiece) {
            char* const piece = text + offset;
            const std::size_t length = std::min(kPiece, end - offset);
            errno = 0;  // stays 0 when the file ends first
            if (!platform::ReadFileAt(file.handle.get(), offset, piece, length)) {
                failed[part] = 1;
                errors[part] = errno;
                return;
            }
            char* from = piece;
            if (!lineBegun) {
                char* const lineFeed = static_cast<char*>(std::memchr(piece, '\n', length));
                if (lineFeed == nullptr) continue;
                from = lineFeed + 1;
                lineBegun = true;
                splitter.SetLineStart(from);
            }
            splitter.Feed(from, piece + length);
        }
        if (lineBegun) splitters[part].emplace(std::move(splitter));  // else it lies inside a line of the parts before
    });
    if (const auto first = std::find(failed.begin(), failed.end(), 1); first != failed.end()) {
        bytes = {};
        return UnreadableFile(errors[static_cast<std::size_t>(first - failed.begin())]);
    }
    std::vector<SplitText> parts;
    parts.reserve(partCount);
    for (std::size_t part = 0; part < partCount; ++part) {
        if (!splitters[part]) continue;
        const char* const partEnd = text + platform::ChunkStart(size, partCount, part + 1);
        const char* const lineEnd = AfterLineFeed(partEnd, text + size);
        splitters[part]->Feed(partEnd, lineEnd);
        parts.push_back(splitters[part]->Finish(lineEnd));
    }
    split = JoinSplitParts(parts);
    return std::nullopt;
}

// Reads the file in pieces small enough to stay in cache while their lines
// are found, which saves a pass over the whole text; on several cores, a
// large file in parts. Why not, when the file cannot be read to its size.
std::optional<LoadError> ReadWholeFile(const SourceFile& file, TextBytes& bytes, SplitText& split)
{
    bytes.resize(file.size);
    if (platform::ParallelThreadCount() > 1 && platform::ChunkCount(bytes.size(), kBytesPerSplitPart) > 1)
        return ReadWholeFileInParts(file, bytes, split);
    LineSplitter splitter(bytes.data());
    // Room for lines of 16 bytes on average (up to 32M lines), so that the
    // table rarely moves while it grows; capacity never written takes no memory.
    splitter.Reserve(std::min<std::size_t>(bytes.size() / 16 + 16, std::size_t{1} << 25));
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPiece) {
        char* const piece = bytes.data() + offset;
        const std::size_t length = std::min(kPiece, bytes.size() - offset);
        if (std::fread(piece, 1, length, file.handle.get()) != length) {
            const int error = std::ferror(file.handle.get()) ? errno : 0;
            bytes = {};
            return UnreadableFile(error);
        }
        splitter.Feed(piece, piece + length);
    }
    split = splitter.Finish(bytes.data() + bytes.size());
    return std::nullopt;
}

ModelOrError ReadText(const std::string& path, std::string_view text, SplitText split)
{
    Model model;
    model.sourcePath = path;
    TextReader reader(model, text, std::move(split));
    if (reader.Parse() != S_OK) return reader.TakeRefusal();
    model.SortMeshesByOpacity();
    return model;
}

}  // namespace

ModelOrError ReadTextFile(const std::string& path)
{
    LoadError error;
    std::optional<SourceFile> file = OpenSourceFile(path, error);
    if (!file) return error;
    return ReadTextFile(path, *file);
}

ModelOrError ReadTextFile(const std::string& path, const SourceFile& file)
{
    TextBytes text;
    SplitText split;
    if (std::optional<LoadError> unread = ReadWholeFile(file, text, split)) return std::move(*unread);
    return ReadText(path, std::string_view(text.data(), text.size()), std::move(split));
}

ModelOrError ReadTextBytes(const std::string& path, std::string_view bytes)
{
    if (bytes.size() > kLargestModelFileSize) return TooLargeModel(path, "Model::ReadMemory");
    return ReadText(path, bytes, SplitSignificantLines(bytes));
}
