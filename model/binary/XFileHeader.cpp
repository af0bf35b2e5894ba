#include "model/binary/XFileHeader.h"

#include "model/binary/Refusal.h"

#include <string_view>

namespace xfile {

namespace {
constexpr const char* kOperation = "xfile::ReadHeader";
}  // namespace

bool ReadHeader(std::span<const std::uint8_t> file, FileHeader& header, std::string& error)
{
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    switch (objects::ParseHeader(text, header)) {
    case objects::HeaderFault::None:
        return true;
    case objects::HeaderFault::NotXof:
        error = detail::LoadError("ce fichier n'est pas un fichier DirectX .x : il ne commence pas par un en-tête "
                                  "\"xof \" de 16 octets",
                                  kOperation);
        break;
    case objects::HeaderFault::Version:
        error = detail::LoadError("la version " + detail::Quoted(text.substr(4, 4)) + " de l'en-tête n'est pas un nombre",
                                  kOperation);
        break;
    case objects::HeaderFault::Format:
        error = detail::LoadError("le format " + detail::Quoted(text.substr(8, 4)) +
                                      " de l'en-tête n'est ni \"txt \", ni \"bin \", ni \"tzip\", ni \"bzip\"",
                                  kOperation);
        break;
    case objects::HeaderFault::FloatSize:
        error = detail::LoadError("la taille des flottants " + detail::Quoted(text.substr(12, 4)) +
                                      " de l'en-tête n'est ni \"0032\" ni \"0064\"",
                                  kOperation);
        break;
    }
    return false;
}

}  // namespace xfile
