// Replays the fuzzer's seed corpus and every input it ever broke the program
// with through the same pipeline the fuzzer drives.

#include "fuzz/HostileInput.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> KeptInputs() {
    std::vector<std::string> paths;
    for (const char* folder : {"corpus", "regressions"}) {
        std::error_code missing;
        for (const auto& entry : fs::directory_iterator(fs::path(PELTO_FUZZ_DIR) / folder, missing))
            if (entry.path().extension() == ".bmp") paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class HostileReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(HostileReplay, KeepsEveryPromise) {
    const Bytes input = ReadFileBytes(GetParam());
    EXPECT_EQ(RunHostileInput(input.data(), input.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, HostileReplay, ::testing::ValuesIn(KeptInputs()), [](const auto& c) {
    std::string name = fs::path(c.param).parent_path().filename().string() + "_" +
                       fs::path(c.param).stem().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
});

} // namespace
