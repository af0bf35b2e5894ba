// Reading a ".x" text file into a Model: the bytes, the significant lines,
// then the walk and the opacity order.
#include "model/text/TextReader.h"

#include "model/text/SignificantLines.h"
#include "model/text/TextWalk.h"
#include "platform/LargeBlocks.h"
#include "platform/Messages.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

// Line positions are 32-bit offsets into the text.
constexpr std::uintmax_t kLargestReadableSize = 0xFFFFFFFFu;

HRESULT RefuseLargeFile(const std::string& path, const char* operation)
{
    platform::ShowMessage(
        platform::FormatMessage("Le fichier %s est trop volumineux (4 Go ou plus). %s", path.c_str(), operation),
        "Erreur", platform::MessageKind::Warning);
    return E_FAIL;
}

// The file's bytes, written by the read without being cleared first.
using TextBytes = platform::LargeVector<char>;

// Reads the file in pieces small enough to stay in cache while their lines
// are found, which saves a pass over the whole text.
HRESULT ReadWholeFile(const std::string& path, TextBytes& bytes, SplitText& split)
{
    const platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) return E_FAIL;
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0) return E_FAIL;
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > kLargestReadableSize) return RefuseLargeFile(path, "Model::ReadFile");

    bytes.resize(static_cast<std::size_t>(size));
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    LineSplitter splitter(bytes.data());
    // Room for lines of 16 bytes on average (up to 32M lines), so that the
    // table rarely moves while it grows; capacity never written takes no memory.
    splitter.Reserve(std::min<std::size_t>(bytes.size() / 16 + 16, std::size_t{1} << 25));
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPiece) {
        char* const piece = bytes.data() + offset;
        const std::size_t length = std::min(kPiece, bytes.size() - offset);
        if (std::fread(piece, 1, length, file.get()) != length) {
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
    TextBytes text;
    SplitText split;
    if (ReadWholeFile(path, text, split) != S_OK) return std::nullopt;
    return ReadText(path, std::string_view(text.data(), text.size()), std::move(split));
}

std::optional<Model> ReadTextBytes(const std::string& path, std::string_view bytes)
{
    if (bytes.size() > kLargestReadableSize) {
        RefuseLargeFile(path, "Model::ReadMemory");
        return std::nullopt;
    }
    return ReadText(path, bytes, SplitSignificantLines(bytes));
}
