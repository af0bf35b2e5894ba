#include "model/LoadError.h"

#include <cstring>

namespace {

std::string ReasonOf(LoadErrorKind kind)
{
    switch (kind) {
    case LoadErrorKind::NoSuchFile: return "no such file";
    case LoadErrorKind::NotReadable: return "not readable";
    case LoadErrorKind::NotAModel:
    case LoadErrorKind::Refused: return "not a model it can read";
    case LoadErrorKind::TooLarge: return "too large (4 GiB or more)";
    case LoadErrorKind::OutOfMemory: return "not enough memory to read it";
    }
    return {};
}

}  // namespace

LoadError CannotOpen(const platform::OpenFailure& failure)
{
    using Kind = platform::OpenFailure::Kind;
    switch (failure.kind) {
    case Kind::NoSuchFile: return LoadErrorOf(LoadErrorKind::NoSuchFile);
    case Kind::Folder: return {LoadErrorKind::NotReadable, "a folder, not a file", {}};
    case Kind::NotRegularFile: return {LoadErrorKind::NotReadable, "not a regular file", {}};
    case Kind::NotOpened: break;
    }
    return {LoadErrorKind::NotReadable, std::string("not readable (") + std::strerror(failure.error) + ")", {}};
}

LoadError UnreadableFile(int error)
{
    return {LoadErrorKind::NotReadable,
            std::string("not readable (") + (error != 0 ? std::strerror(error) : "it ended before its size") + ")",
            {}};
}

LoadError LoadErrorOf(LoadErrorKind kind, std::vector<platform::Message> messages)
{
    return {kind, ReasonOf(kind), std::move(messages)};
}
