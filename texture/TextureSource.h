// A texture file read and decoded as the viewer reads it, with no OpenGL:
// the reader chosen by the extension, the file read, decoded, and what the
// reader has to say told. The viewer's upload (LoadTexture) and the images
// taken for export (PortableTexture) both start here.
#pragma once

#include "texture/Decoders.h"
#include "texture/FileBytes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A texture file as the model names it, and where it is actually read from.
struct TextureFile {
    std::string name;  // as written in the model; messages name this
    std::string path;  // the file to open
};

enum class TextureFormat { Jpeg, Tga, Bmp, Ppm, Png, Dds };

// The reader the extension of `fileName` chooses (see TextureExtension, in
// any ASCII case); when no reader takes it, nothing, once that is told.
std::optional<TextureFormat> ChooseTextureFormat(std::string_view fileName);

// The format whose signature the file's first bytes carry: PNG, JPEG, BMP or
// DDS. Other formats have none to go by.
std::optional<TextureFormat> FormatBySignature(std::span<const std::uint8_t> head);

// How a file's reader is chosen: by its extension alone, or, when that
// reader refuses the file, by the signature its bytes begin with.
enum class ReaderChoice { ByExtension, ContentOnRefusal };

// Runs `read` (true when it reads the file) for `chosen`, the format of the
// file's extension. With ContentOnRefusal, when that refuses and the file at
// `path` begins with the signature of another format, `read` runs for that
// one; meanwhile what the first run said is held back: dropped when the
// second reads the file, shown in place of the second's words when it
// refuses too. Gives the format that read the file, else `chosen`.
TextureFormat ReadChoosingByContent(ReaderChoice choice, TextureFormat chosen, const std::string& path,
                                    const std::function<bool(TextureFormat)>& read);

struct TextureFileContents {
    std::optional<FileBuffer> bytes;    // the bytes read (BMP files are read by their loader: none)
    std::optional<TextureImage> image;  // every format but DDS, when decoded
    std::optional<DdsImage> dds;        // DDS files, when decoded
};

// Reads `file` and decodes it with the reader of `format`, sides up to
// `maxSide`, then shows the reader's messages in order (a file that cannot
// be read: the reader's own words for a missing file).
TextureFileContents ReadTextureFile(TextureFormat format, const TextureFile& file, std::uint32_t maxSide);
