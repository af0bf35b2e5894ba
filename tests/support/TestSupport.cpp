#include "TestSupport.h"

#include <dlfcn.h>
#include <link.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string_view>

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

void PinGlDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const std::string_view name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.ends_with("_dri.so")) dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

void GlTest::SetUp()
{
    context = std::make_unique<platform::HeadlessContext>(64, 64);
    ASSERT_TRUE(context->Ok()) << context->Error();
    PinGlDriver();
}

void GlTest::TearDown() { context.reset(); }

}  // namespace testing_support
