// Runs a fuzz target once on every file of the folders named on the command
// line (missing folders are skipped), so seeds and saved crash inputs replay
// as ordinary tests. An input that trips the target ends the program (a
// sanitizer report or a crash); reaching the end means every input ran.
// With --threaded first, every step that shares its work among threads does
// so even for these small inputs (chunks of a few items, four threads).
#include "platform/ParallelFor.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    int replayed = 0;
    int folders = 0;
    int first = 1;
    if (argc > 1 && std::string_view(argv[1]) == "--threaded") {
        platform::SetParallelThreadCount(4);
        platform::SetParallelGrainDivisor(std::size_t{1} << 12);
        first = 2;
    }
    for (int i = first; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error)) {
            std::printf("skipped %s: no such folder\n", argv[i]);
            continue;
        }
        ++folders;
        int fromFolder = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++fromFolder;
        }
        std::printf("%s: %d inputs replayed\n", argv[i], fromFolder);
        replayed += fromFolder;
    }
    if (replayed == 0) {
        std::printf("no input found in %d folders: nothing was replayed\n", folders);
        return 1;
    }
    std::printf("%d inputs from %d folders replayed without a finding\n", replayed, folders);
    return 0;
}
