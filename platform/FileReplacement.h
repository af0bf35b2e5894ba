// Writing a file whole or not at all. The bytes go to a new file in the
// target's folder that has no name while it is written; once every byte is
// on disk it gets a name beside the target and is renamed over it. A write
// that fails, or a process that ends half-way, leaves the earlier file as it
// was and nothing else behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class FileReplacement {
public:
    // Opens the new file for `path`; when it cannot, Error() says why.
    explicit FileReplacement(std::string path);
    ~FileReplacement();  // a replacement never committed leaves nothing behind
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool Ok() const { return error_.empty(); }
    // The system's reason for the first failure; empty while all is well.
    const std::string& Error() const { return error_; }

    // Appends bytes; after a failure, does nothing.
    void Write(std::span<const std::uint8_t> bytes);
    void Write(std::string_view text);
    // Puts the file in place of the target. Returns the reason it could not,
    // or empty once the target holds exactly what was written.
    std::string Commit();

private:
    void Fail(std::string_view what);
    void Discard();

    std::string path_;
    std::string namedTemporary_;  // the temporary's name, once it has one
    int fd_ = -1;
    std::string error_;
};

// The whole of `bytes` as the file `path`; empty on success, else why not.
std::string WriteFileWhole(const std::string& path, std::span<const std::uint8_t> bytes);
std::string WriteFileWhole(const std::string& path, std::string_view text);

}  // namespace platform
