#include "TestSupport.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sstream>

namespace testing_support {

TempDir::TempDir()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("pelmora-test-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string CorpusPath(const std::string& relative) { return std::string(PELMORA_CORPUS_DIR) + "/" + relative; }
std::string SamplePath(const std::string& relative) { return std::string(PELMORA_SAMPLES_DIR) + "/" + relative; }

ScopedFileSizeLimit::ScopedFileSizeLimit(std::uint64_t bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previousLimit_ = limit.rlim_cur;
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previousLimit_;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

void GlTest::SetUp()
{
    context = std::make_unique<platform::HeadlessContext>(64, 64);
    ASSERT_TRUE(context->Ok()) << context->Error();
}

void GlTest::TearDown() { context.reset(); }

}  // namespace testing_support
