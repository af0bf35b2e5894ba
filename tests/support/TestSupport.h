// Shared helpers for the tests.
#pragma once

#include "platform/HeadlessContext.h"
#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace testing_support {

// A folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to a file of that name in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);
std::string CorpusPath(const std::string& relative);
std::string SamplePath(const std::string& relative);

// Records every message and silences the load traces for one test.
class MessageRecorder {
public:
    MessageRecorder() : sinkScope_(sink), traceScope_(trace) {}
    platform::RecordingMessageSink sink;
    platform::RecordingTraceSink trace;
    const std::vector<platform::RecordedMessage>& messages() const { return sink.messages; }

private:
    platform::ScopedMessageSink sinkScope_;
    platform::ScopedTraceSink traceScope_;
};

// For one scope, no file this process writes can grow past `bytes`: a
// write beyond fails (EFBIG) rather than ending the process. Root ignores
// folder permissions, not this.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(std::uint64_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    std::uint64_t previousLimit_ = 0;
    void (*previousHandler_)(int) = nullptr;
};

// A fixture with a current headless OpenGL context (Mesa, EGL surfaceless),
// 64x64 unless a test makes its own.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<platform::HeadlessContext> context;
};

}  // namespace testing_support
