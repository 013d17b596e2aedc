// Replays each fuzz target's seed corpus and every input it ever broke the
// program with through the same checks the fuzzer drives.

#include "fuzz/HostileInput.h"
#include "fuzz/WideBevel.h"
#include "support/BmpBuilder.h"
#include "support/KeptInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace pelto {

namespace fs = std::filesystem;

namespace {

// Without it, a folder moved away would leave the replays below nothing to fail on.
TEST(KeptInputFolders, AreThereAndEveryCorpusHoldsInputs) {
    EXPECT_EQ(KeptHostileFiles().faults, std::vector<std::string>{});
    EXPECT_EQ(KeptWideBevelInputs().faults, std::vector<std::string>{});
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

INSTANTIATE_TEST_SUITE_P(Kept, HostileReplay, ::testing::ValuesIn(KeptHostileFiles().paths),
                         TestName);

class WideBevelReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(WideBevelReplay, MatchesThePlainBevelAndLosesNothing) {
    const Bytes input = ReadFileBytes(GetParam());
    EXPECT_EQ(RunWideBevel(input.data(), input.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, WideBevelReplay, ::testing::ValuesIn(KeptWideBevelInputs().paths),
                         TestName);

} // namespace

} // namespace pelto
