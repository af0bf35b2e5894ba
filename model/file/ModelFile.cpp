#include "model/file/ModelFile.h"

#include "model/SourceFile.h"
#include "model/anylayout/AnyLayoutModel.h"
#include "model/binary/BinaryObjects.h"
#include "model/binary/CompressedBinaryObjects.h"
#include "model/binary/ModelFromObjects.h"
#include "model/binary/Mszip.h"
#include "model/binary/Refusal.h"
#include "model/binary/XFileHeader.h"
#include "model/text/TextReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <span>
#include <vector>

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The form of a file that is not plain text, when its header says so.
std::optional<xfile::FileHeader> OtherForm(std::span<const std::uint8_t> first)
{
    xfile::FileHeader header;
    std::string error;
    if (!xfile::ReadHeader(first, header, error)) return std::nullopt;
    if (header.encoding == xfile::Encoding::Text && !header.compressed) return std::nullopt;
    return header;
}

LoadError Refuse(std::string message)
{
    return LoadErrorOf(LoadErrorKind::Refused, {{std::move(message), "Erreur", platform::MessageKind::Warning}});
}

// What the line reader gives for a text. When it refuses the text and
// `options.anyLayout` is on, the reader of any layout has its turn on the
// same bytes (`text()` gives them); its model then stands and the line
// reader's messages are dropped, since the file did load. When it cannot
// read the text either, the line reader's refusal is given back as it was.
template <class Text>
ModelOrError TextRead(const std::string& path, ModelOrError read, const ReadOptions& options, Text&& text)
{
    if (read || !options.anyLayout || read.error().kind != LoadErrorKind::Refused) return read;
    std::string ignored;
    if (std::optional<Model> model = ReadAnyLayoutText(path, text(), ignored)) return std::move(*model);
    return read;
}

// Runs `read`; memory that runs out on the way refuses the file with a message.
template <class Read>
ModelOrError RefusingOutOfMemory(const char* operation, Read&& read)
{
    try {
        return read();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return LoadErrorOf(LoadErrorKind::OutOfMemory,
                       {{xfile::detail::OutOfMemory(operation), "Erreur", platform::MessageKind::Warning}});
}

// The first line's values as the model keeps them: "xof 0302bzip0064" gives
// version 3.2, type "bzip", float size 64.
void KeepHeader(Model& model, const xfile::FileHeader& header)
{
    model.versionMajor = header.versionMajor;
    model.versionMinor = header.versionMinor;
    model.formatType = header.formatName;
    model.floatSize = static_cast<int>(header.floatBytes * 8);
}

// `owned`, when given, holds the file's bytes and is given up to the first
// step that reads them, which hands back what it has read as it goes, so
// that a large file, its objects and its model do not stand in memory side
// by side.
ModelOrError ReadOtherForm(const std::string& path, std::span<const std::uint8_t> file,
                           const xfile::FileHeader& header, xfile::FileBytes* owned, const ReadOptions& options)
{
    std::string error;
    if (header.encoding == xfile::Encoding::Text) {
        xfile::FileBytes inflated;
        const bool ok = owned != nullptr ? xfile::InflateMszip(std::move(*owned), inflated, error)
                                         : xfile::InflateMszip(file, inflated, error);
        if (!ok) return Refuse(error);
        const std::string_view text(reinterpret_cast<const char*>(inflated.data()), inflated.size());
        ModelOrError model =
            TextRead(path, ReadTextBytes(path, text), options, [&] { return std::span<const std::uint8_t>(inflated); });
        if (model) KeepHeader(*model, header);
        return model;
    }
    // The bytes this reader holds are given up to the object reader, and
    // the objects to the model's: each hands back what it has read.
    xfile::Document document;
    bool read = false;
    if (header.compressed)
        read = owned != nullptr ? xfile::ReadCompressedBinaryObjects(std::move(*owned), document, error)
                                : xfile::ReadCompressedBinaryObjects(file, document, error);
    else
        read = owned != nullptr ? xfile::ReadBinaryObjects(std::move(*owned), document, error)
                                : xfile::ReadBinaryObjects(file, document, error);
    if (!read) return Refuse(error);
    std::optional<Model> model = xfile::ModelFromObjects(std::move(document), error);
    if (!model) return Refuse(error);
    model->sourcePath = path;
    model->SortMeshesByOpacity();
    KeepHeader(*model, header);
    return std::move(*model);
}

}  // namespace

ModelOrError ReadModelFile(const std::string& path, const ReadOptions& options)
{
    return RefusingOutOfMemory("Model::ReadFile", [&]() -> ModelOrError {
        LoadError error;
        const std::optional<SourceFile> file = OpenSourceFile(path, error);
        if (!file) return error;
        std::FILE* const handle = file->handle.get();
        std::uint8_t first[xfile::kHeaderSize];
        const bool headerRead = file->size >= sizeof first && std::fread(first, 1, sizeof first, handle) == sizeof first;
        const auto header = headerRead ? OtherForm(first) : std::nullopt;
        if (!header) {
            std::rewind(handle);
            // Read in pieces as the lines are found; read again whole only
            // when the reader of any layout is to have its turn.
            xfile::FileBytes whole;
            return TextRead(path, ReadTextFile(path, *file), options, [&]() -> std::span<const std::uint8_t> {
                whole = xfile::FileBytes(file->size);
                std::rewind(handle);
                if (std::fread(whole.data(), 1, whole.size(), handle) != whole.size()) return {};
                return whole;
            });
        }
        xfile::FileBytes bytes(file->size);
        std::copy_n(first, sizeof first, bytes.data());
        const std::size_t rest = bytes.size() - sizeof first;
        if (std::fread(bytes.data() + sizeof first, 1, rest, handle) != rest)
            return UnreadableFile(std::ferror(handle) ? errno : 0);
        return ReadOtherForm(path, bytes, *header, &bytes, options);
    });
}

ModelOrError ReadModelBytes(const std::string& path, std::string_view bytes, const ReadOptions& options)
{
    return RefusingOutOfMemory("Model::ReadMemory", [&]() -> ModelOrError {
        if (const auto header = OtherForm(AsBytes(bytes)))
            return ReadOtherForm(path, AsBytes(bytes), *header, nullptr, options);
        return TextRead(path, ReadTextBytes(path, bytes), options, [&] { return AsBytes(bytes); });
    });
}
