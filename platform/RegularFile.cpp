#include "platform/RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileHandle OpenRegularFile(const std::string& path)
{
    OpenFailure failure;
    return OpenRegularFile(path, failure);
}

FileHandle OpenRegularFile(const std::string& path, OpenFailure& failure)
{
    using Kind = OpenFailure::Kind;
    // Non-blocking, so that opening a FIFO returns at once; then checked.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        failure = {errno == ENOENT || errno == ENOTDIR ? Kind::NoSuchFile : Kind::NotOpened, errno};
        return nullptr;
    }
    const auto refuse = [&](Kind kind, int error) {
        failure = {kind, error};
        close(descriptor);
        return nullptr;
    };
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return FileHandle(refuse(Kind::NotOpened, errno));
    if (S_ISDIR(status.st_mode)) return FileHandle(refuse(Kind::Folder, 0));
    if (!S_ISREG(status.st_mode)) return FileHandle(refuse(Kind::NotRegularFile, 0));
    if (fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        return FileHandle(refuse(Kind::NotOpened, errno));
    FileHandle file(fdopen(descriptor, "rb"));
    if (!file) refuse(Kind::NotOpened, errno);
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
