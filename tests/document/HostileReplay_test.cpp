// Replays each fuzz target's seed corpus and every input it ever broke the
// program with through the same checks the fuzzer drives.

#include "fuzz/HostileInput.h"
#include "fuzz/WideBevel.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace pelto {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> KeptInputs(std::initializer_list<const char*> folders, const char* ext) {
    std::vector<std::string> paths;
    for (const char* folder : folders) {
        std::error_code missing;
        for (const auto& entry : fs::directory_iterator(fs::path(PELTO_FUZZ_DIR) / folder, missing))
            if (entry.path().extension() == ext) paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& c) {
    std::string name = fs::path(c.param).parent_path().filename().string() + "_" +
                       fs::path(c.param).stem().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

class HostileReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(HostileReplay, KeepsEveryPromise) {
    const Bytes input = ReadFileBytes(GetParam());
    EXPECT_EQ(RunHostileInput(input.data(), input.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, HostileReplay,
                         ::testing::ValuesIn(KeptInputs({"corpus", "regressions"}, ".bmp")),
                         TestName);

class WideBevelReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(WideBevelReplay, MatchesThePlainBevelAndLosesNothing) {
    const Bytes input = ReadFileBytes(GetParam());
    EXPECT_EQ(RunWideBevel(input.data(), input.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, WideBevelReplay,
                         ::testing::ValuesIn(KeptInputs({"corpus-wide", "regressions-wide"},
                                                        ".bin")),
                         TestName);

} // namespace

} // namespace pelto
