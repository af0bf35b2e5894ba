#include "model/objects/FileHeader.h"

#include <algorithm>

namespace objects {

namespace {
bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
}  // namespace

HeaderFault ParseHeader(std::string_view bytes, FileHeader& header)
{
    if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != "xof ") return HeaderFault::NotXof;
    const std::string_view version = bytes.substr(4, 4);
    const std::string_view format = bytes.substr(8, 4);
    const std::string_view floatSize = bytes.substr(12, 4);
    if (!AllDigits(version)) return HeaderFault::Version;
    FileHeader read;
    read.versionMajor = (version[0] - '0') * 10 + (version[1] - '0');
    read.versionMinor = (version[2] - '0') * 10 + (version[3] - '0');
    read.formatName = std::string(format.substr(0, format.find(' ')));
    if (format == "txt " || format == "tzip")
        read.encoding = Encoding::Text;
    else if (format == "bin " || format == "bzip")
        read.encoding = Encoding::Binary;
    else
        return HeaderFault::Format;
    read.compressed = format == "tzip" || format == "bzip";
    if (floatSize == "0032")
        read.floatBytes = 4;
    else if (floatSize == "0064")
        read.floatBytes = 8;
    else
        return HeaderFault::FloatSize;
    header = read;
    return HeaderFault::None;
}

}  // namespace objects
