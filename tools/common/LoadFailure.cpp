#include "LoadFailure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tool_common {

std::string LoadFailureReason(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "no such file" : std::string("cannot reach it (") + std::strerror(errno) + ")";
    if (S_ISDIR(status.st_mode)) return "a folder, not a file";
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    // Non-blocking: whatever the file is by now, the open does not wait.
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) return std::string("not readable (") + std::strerror(errno) + ")";
    ::close(file);
    return "not a model it can read (see the messages above)";
}

}  // namespace tool_common
