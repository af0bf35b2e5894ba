#include "model/binary/XFileHeader.h"

#include "model/binary/Refusal.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace xfile {

namespace {
constexpr const char* kOperation = "xfile::ReadHeader";

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
}  // namespace

bool ReadHeader(std::span<const std::uint8_t> file, FileHeader& header, std::string& error)
{
    if (file.size() < kHeaderSize || std::memcmp(file.data(), "xof ", 4) != 0) {
        error = detail::LoadError("ce fichier n'est pas un fichier DirectX .x : il ne commence pas par un en-tête "
                                  "\"xof \" de 16 octets",
                                  kOperation);
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.data()), kHeaderSize);
    const std::string_view version = text.substr(4, 4);
    const std::string_view format = text.substr(8, 4);
    const std::string_view floatSize = text.substr(12, 4);
    if (!AllDigits(version)) {
        error = detail::LoadError("la version " + detail::Quoted(version) + " de l'en-tête n'est pas un nombre",
                                  kOperation);
        return false;
    }
    FileHeader read;
    read.versionMajor = (version[0] - '0') * 10 + (version[1] - '0');
    read.versionMinor = (version[2] - '0') * 10 + (version[3] - '0');
    read.formatName = std::string(format.substr(0, format.find(' ')));
    if (format == "txt ") {
        read.encoding = Encoding::Text;
    } else if (format == "bin ") {
        read.encoding = Encoding::Binary;
    } else if (format == "tzip") {
        read.encoding = Encoding::Text;
        read.compressed = true;
    } else if (format == "bzip") {
        read.encoding = Encoding::Binary;
        read.compressed = true;
    } else {
        error = detail::LoadError("le format " + detail::Quoted(format) +
                                      " de l'en-tête n'est ni \"txt \", ni \"bin \", ni \"tzip\", ni \"bzip\"",
                                  kOperation);
        return false;
    }
    if (floatSize == "0032") {
        read.floatBytes = 4;
    } else if (floatSize == "0064") {
        read.floatBytes = 8;
    } else {
        error = detail::LoadError("la taille des flottants " + detail::Quoted(floatSize) +
                                      " de l'en-tête n'est ni \"0032\" ni \"0064\"",
                                  kOperation);
        return false;
    }
    header = read;
    return true;
}

}  // namespace xfile
