// The messages of refused binary and compressed files, in the program's
// style: "Erreur de chargement, <what>. <operation>".
#pragma once

#include "platform/Messages.h"

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace xfile::detail {

// platform::FormatMessage, the one printf formatter, under a short name.
template <class... Arguments>
std::string Format(const char* format, Arguments... arguments)
{
    return platform::FormatMessage(format, arguments...);
}

// "Erreur de chargement, " + what + ". " + operation.
std::string LoadError(std::string_view what, std::string_view operation);

// A name as a message shows it: at most 255 bytes, control bytes shown as '?'.
std::string Cleaned(std::string_view name);
// The same between double quotes.
std::string Quoted(std::string_view name);

// objects::ObjectLabel with the names cleaned.
std::string ObjectLabel(std::string_view type, std::string_view name);

// The message when memory runs out during `operation`.
std::string OutOfMemory(std::string_view operation);

// Runs `read` (returning bool, filling `error` when it refuses); a
// reservation that fails on the way refuses with the out-of-memory message.
template <class Read>
bool RefusingOutOfMemory(std::string_view operation, std::string& error, Read&& read)
{
    try {
        return read();
    } catch (const std::bad_alloc&) {
        error = OutOfMemory(operation);
    } catch (const std::length_error&) {
        error = OutOfMemory(operation);
    }
    return false;
}

}  // namespace xfile::detail
