#include "platform/RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileHandle OpenRegularFile(const std::string& path)
{
    // Non-blocking, so that opening a FIFO returns at once; then checked.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(descriptor);
        return nullptr;
    }
    FileHandle file(fdopen(descriptor, "rb"));
    if (!file) close(descriptor);
    return file;
}

bool ReadFileAt(std::FILE* file, std::size_t offset, char* into, std::size_t length)
{
    const int descriptor = fileno(file);
    while (length > 0) {
        const ssize_t read = pread(descriptor, into, length, static_cast<off_t>(offset));
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) return false;
        const auto got = static_cast<std::size_t>(read);
        into += got;
        offset += got;
        length -= got;
    }
    return true;
}

}  // namespace platform
