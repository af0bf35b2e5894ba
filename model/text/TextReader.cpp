// Reading a ".x" text file into a Model: the bytes, the significant lines,
// then the walk and the opacity order.
#include "model/text/TextReader.h"

#include "model/text/SignificantLines.h"
#include "model/text/TextWalk.h"
#include "model/SourceFile.h"
#include "platform/LargeBlocks.h"
#include "platform/Messages.h"

#include <algorithm>
#include <cstdio>

namespace {

// The file's bytes, written by the read without being cleared first.
using TextBytes = platform::LargeVector<char>;

// Reads the file in pieces small enough to stay in cache while their lines
// are found, which saves a pass over the whole text.
HRESULT ReadWholeFile(const SourceFile& file, TextBytes& bytes, SplitText& split)
{
    bytes.resize(file.size);
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    LineSplitter splitter(bytes.data());
    // Room for lines of 16 bytes on average (up to 32M lines), so that the
    // table rarely moves while it grows; capacity never written takes no memory.
    splitter.Reserve(std::min<std::size_t>(bytes.size() / 16 + 16, std::size_t{1} << 25));
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPiece) {
        char* const piece = bytes.data() + offset;
        const std::size_t length = std::min(kPiece, bytes.size() - offset);
        if (std::fread(piece, 1, length, file.handle.get()) != length) {
            bytes = {};
            return E_FAIL;
        }
        splitter.Feed(piece, piece + length);
    }
    split = splitter.Finish(bytes.data() + bytes.size());
    return S_OK;
}

std::optional<Model> ReadText(const std::string& path, std::string_view text, SplitText split)
{
    Model model;
    model.sourcePath = path;
    if (TextReader(model, text, std::move(split)).Parse() != S_OK) return std::nullopt;
    model.SortMeshesByOpacity();
    return model;
}

}  // namespace

std::optional<Model> ReadTextFile(const std::string& path)
{
    std::optional<SourceFile> file = OpenSourceFile(path);
    if (!file) return std::nullopt;
    return ReadTextFile(path, *file);
}

std::optional<Model> ReadTextFile(const std::string& path, const SourceFile& file)
{
    TextBytes text;
    SplitText split;
    if (ReadWholeFile(file, text, split) != S_OK) return std::nullopt;
    return ReadText(path, std::string_view(text.data(), text.size()), std::move(split));
}

std::optional<Model> ReadTextBytes(const std::string& path, std::string_view bytes)
{
    if (bytes.size() > kLargestModelFileSize) {
        RefuseLargeModel(path, "Model::ReadMemory");
        return std::nullopt;
    }
    return ReadText(path, bytes, SplitSignificantLines(bytes));
}
