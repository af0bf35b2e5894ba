#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string FolderOf(const std::string& path)
{
    const fs::path file(path);
    return file.has_parent_path() ? file.parent_path().string() : ".";
}

// A name beside the target that no other writer of this process or another
// picks at the same time: the process, a counter, and O_EXCL or EEXIST.
std::string TemporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return FolderOf(path) + "/." + fs::path(path).filename().string() + "." + std::to_string(::getpid()) + "." +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

}  // namespace

FileReplacement::FileReplacement(std::string path) : path_(std::move(path))
{
    struct stat target {};
    const bool exists = ::stat(path_.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        errno = EISDIR;
        Fail("");
        return;
    }
    // An unnamed file first: nothing is left if the process ends while writing.
    fd_ = ::open(FolderOf(path_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // The file system has no unnamed files: a named one, removed on failure.
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            namedTemporary_ = TemporaryName(path_);
            fd_ = ::open(namedTemporary_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) namedTemporary_.clear();
    }
    if (fd_ < 0) {
        Fail("");
        return;
    }
    // A replaced file keeps who may read and write it.
    if (exists) ::fchmod(fd_, target.st_mode & 07777);
}

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::Fail(std::string_view what)
{
    if (!error_.empty()) return;
    error_ = std::strerror(errno);
    if (!what.empty()) error_ = std::string(what) + ": " + error_;
}

void FileReplacement::Discard()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!namedTemporary_.empty()) ::unlink(namedTemporary_.c_str());
    namedTemporary_.clear();
}

void FileReplacement::Write(std::span<const std::uint8_t> bytes)
{
    while (Ok() && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail("");
            return;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

void FileReplacement::Write(std::string_view text)
{
    Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string FileReplacement::Commit()
{
    if (Ok() && ::fsync(fd_) != 0) Fail("");
    if (Ok() && namedTemporary_.empty()) {
        // Give the unnamed file a name beside the target, then move it over.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            namedTemporary_ = TemporaryName(path_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, namedTemporary_.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
            const bool taken = errno == EEXIST;
            namedTemporary_.clear();
            if (!taken) {
                Fail("");
                break;
            }
        }
    }
    if (Ok() && ::close(fd_) != 0) Fail("");
    fd_ = -1;
    if (Ok() && ::rename(namedTemporary_.c_str(), path_.c_str()) != 0) Fail("");
    if (Ok()) namedTemporary_.clear();
    Discard();
    return error_;
}

std::string WriteFileWhole(const std::string& path, std::span<const std::uint8_t> bytes)
{
    FileReplacement file(path);
    file.Write(bytes);
    return file.Ok() ? file.Commit() : file.Error();
}

std::string WriteFileWhole(const std::string& path, std::string_view text)
{
    return WriteFileWhole(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace platform
