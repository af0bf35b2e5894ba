#include "model/file/ModelFile.h"

#include "model/binary/BinaryObjects.h"
#include "model/binary/ModelFromObjects.h"
#include "model/binary/Mszip.h"
#include "model/binary/XFileHeader.h"
#include "model/text/TextReader.h"
#include "platform/Messages.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <sys/stat.h>
#include <vector>

namespace {

// Bytes beyond this are not read: a .x file this large is no model.
constexpr std::uintmax_t kLargestReadableSize = 0xFFFFFFFFu;

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

std::optional<Model> Refuse(const std::string& message)
{
    platform::ShowMessage(message, "Erreur", platform::MessageKind::Warning);
    return std::nullopt;
}

// The first line's values as the model keeps them: "xof 0302bzip0064" gives
// version 3.2, type "bzip", float size 64.
void KeepHeader(Model& model, std::span<const std::uint8_t> header)
{
    auto number = [&](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t k = at; k < at + digits; ++k) value = value * 10 + (header[k] - '0');
        return value;
    };
    model.versionMajor = number(4, 2);
    model.versionMinor = number(6, 2);
    std::string type(reinterpret_cast<const char*>(header.data()) + 8, 4);
    if (type.back() == ' ') type.pop_back();
    model.formatType = type;
    model.floatSize = number(12, 4);
}

// `owned`, when given, holds the file's bytes and is freed as soon as what
// was read from it no longer needs them, so that a large file and its model
// do not stand in memory side by side.
std::optional<Model> ReadOtherForm(const std::string& path, std::span<const std::uint8_t> file,
                                   const xfile::FileHeader& header, xfile::FileBytes* owned)
{
    std::uint8_t firstBytes[xfile::kHeaderSize];
    std::copy_n(file.begin(), xfile::kHeaderSize, firstBytes);
    auto release = [](xfile::FileBytes* bytes) {
        if (bytes) xfile::FileBytes().swap(*bytes);
    };

    std::string error;
    xfile::FileBytes inflated;
    std::span<const std::uint8_t> uncompressed = file;
    if (header.compressed) {
        if (!xfile::InflateMszip(file, inflated, error)) return Refuse(error);
        release(owned);
        uncompressed = inflated;
    }
    std::optional<Model> model;
    if (header.encoding == xfile::Encoding::Text) {
        model = ReadTextBytes(path, std::string_view(reinterpret_cast<const char*>(uncompressed.data()),
                                                     uncompressed.size()));
    } else {
        xfile::Document document;
        if (!xfile::ReadBinaryObjects(uncompressed, document, error)) return Refuse(error);
        release(&inflated);  // the objects hold all that is needed now
        release(owned);
        model = xfile::ModelFromObjects(document, error);
        if (!model) return Refuse(error);
        model->sourcePath = path;
        model->SortMeshesByOpacity();
    }
    if (model) KeepHeader(*model, firstBytes);
    return model;
}

}  // namespace

std::optional<Model> ReadModelFile(const std::string& path)
{
    {
        const platform::FileHandle file = platform::OpenRegularFile(path);
        if (!file) return std::nullopt;
        std::uint8_t first[xfile::kHeaderSize];
        if (std::fread(first, 1, sizeof first, file.get()) != sizeof first || !OtherForm(first))
            return ReadTextFile(path);  // read in pieces as the lines are found
    }
    const platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) return std::nullopt;
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0) return std::nullopt;
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > kLargestReadableSize)
        return Refuse(platform::FormatMessage("Le fichier %s est trop volumineux (4 Go ou plus). Model::ReadFile",
                                              path.c_str()));
    xfile::FileBytes bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
    const auto header = OtherForm(bytes);
    if (!header) return std::nullopt;  // the file changed under us
    return ReadOtherForm(path, bytes, *header, &bytes);
}

std::optional<Model> ReadModelBytes(const std::string& path, std::string_view bytes)
{
    if (const auto header = OtherForm(AsBytes(bytes))) return ReadOtherForm(path, AsBytes(bytes), *header, nullptr);
    return ReadTextBytes(path, bytes);
}
