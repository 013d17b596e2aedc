#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

std::vector<std::string> Args(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

std::vector<BackgroundPick> Picks(const CliParse& p) {
    return p.options->style.background.value_or(std::vector<BackgroundPick>());
}

TEST(ParseCliArguments, DefaultsAreTheViewsDefaults) {
    const CliParse p = ParseCliArguments(Args({"in.bmp", "out.bmp", "--pick", "1,2,30"}));
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->input, "in.bmp");
    EXPECT_EQ(p.options->output, "out.bmp");
    EXPECT_EQ(Picks(p), (std::vector<BackgroundPick>{{1, 2, 30}}));
    const ButtonParams& b = p.options->style.params;
    EXPECT_EQ(b.angle, 0);
    EXPECT_EQ(b.contrast, 128);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.shape, 0);
    EXPECT_EQ(b.outline, 0);
}

TEST(ParseCliArguments, TakesEveryOptionInEitherForm) {
    const CliParse p = ParseCliArguments(
        Args({"--pick=0,0,0", "in.bmp", "--angle", "359", "--contrast=500", "--width", "30",
              "--shape", "round", "--outline=outer", "out.bmp", "--pick", "5,6,100"}));
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(Picks(p), (std::vector<BackgroundPick>{{0, 0, 0}, {5, 6, 100}}));
    const ButtonParams& b = p.options->style.params;
    EXPECT_EQ(b.angle, 359);
    EXPECT_EQ(b.contrast, 500);
    EXPECT_EQ(b.width, 30);
    EXPECT_EQ(b.shape, 1);
    EXPECT_EQ(b.outline, 1);
}

TEST(ParseCliArguments, ThreadsDefaultToOnePerCoreAndTakeACount) {
    EXPECT_EQ(ParseCliArguments(Args({"a", "b", "--pick", "0,0,0"})).options->threads, 0u);
    for (const char* count : {"1", "256"}) {
        const CliParse p =
            ParseCliArguments(Args({"a", "b", "--pick", "0,0,0", "--threads", count}));
        ASSERT_TRUE(p.options) << p.error;
        EXPECT_EQ(p.options->threads, unsigned(std::stoi(count)));
    }
}

TEST(ParseCliArguments, HelpNeedsNothingElse) {
    const CliParse p = ParseCliArguments(Args({"--help"}));
    ASSERT_TRUE(p.options);
    EXPECT_TRUE(p.options->help);
}

struct FileNames {
    std::vector<std::string> args;
    const char* input;
    const char* output;
    size_t picks;
};

class FileNameArguments : public ::testing::TestWithParam<FileNames> {};

// - names a standard stream; after -- everything is a file name, even what looks like an option.
TEST_P(FileNameArguments, AreTakenInOrder) {
    const CliParse p = ParseCliArguments(GetParam().args);
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->input, GetParam().input);
    EXPECT_EQ(p.options->output, GetParam().output);
    EXPECT_EQ(Picks(p).size(), GetParam().picks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileNameArguments,
    ::testing::Values(FileNames{Args({"-", "-", "--pick", "0,0,0"}), "-", "-", 1},
                      FileNames{Args({"--pick", "0,0,0", "--", "--in.bmp", "-h"}), "--in.bmp", "-h",
                                1},
                      FileNames{Args({"--pick", "0,0,0", "--", "--", "--pick"}), "--", "--pick", 1},
                      FileNames{Args({"--pick", "0,0,0", "a", "--", "--help"}), "a", "--help", 1},
                      FileNames{Args({"-x.bmp", "--pick=1,1,1", "-"}), "-x.bmp", "-", 1}));

class BadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadArguments, AreRefusedWithAMessage) {
    const CliParse p = ParseCliArguments(GetParam());
    EXPECT_FALSE(p.options);
    EXPECT_FALSE(p.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArguments,
    ::testing::Values(Args({}), Args({"in.bmp", "--pick", "0,0,0"}),
                      Args({"a", "b", "c", "--pick", "0,0,0"}), Args({"a", "b", "--pick", "0,0"}),
                      Args({"a", "b", "--pick", "0,0,0,0"}), Args({"a", "b", "--pick", "x,0,0"}),
                      Args({"a", "b", "--pick", "0,0,101"}), Args({"a", "b", "--pick", "0,0,-1"}),
                      Args({"a", "b", "--pick", "0,,5"}),
                      Args({"a", "b", "--pick", "0,0,0", "--angle", "360"}),
                      Args({"a", "b", "--pick", "0,0,0", "--angle", "-1"}),
                      Args({"a", "b", "--pick", "0,0,0", "--contrast", "501"}),
                      Args({"a", "b", "--pick", "0,0,0", "--width", "31"}),
                      Args({"a", "b", "--pick", "0,0,0", "--width", "5px"}),
                      Args({"a", "b", "--pick", "0,0,0", "--width", " 5"}),
                      Args({"a", "b", "--pick", "0,0,0", "--width", "99999999999"}),
                      Args({"a", "b", "--pick", "0,0,0", "--shape", "square"}),
                      Args({"a", "b", "--pick", "0,0,0", "--outline", "both"}),
                      Args({"a", "b", "--pick", "0,0,0", "--angle"}),
                      Args({"a", "b", "--pick", "0,0,0", "--colour", "red"}),
                      Args({"a", "b", "--pick", "0,0,0", "--threads", "0"}),
                      Args({"a", "b", "--pick", "0,0,0", "--threads", "257"}),
                      Args({"a", "b", "--pick", "0,0,0", "--threads", "all"}),
                      Args({"a", "--", "b", "--pick", "0,0,0"}),
                      Args({"--pick", "0,0,0", "--", "a"}),
                      Args({"a", "b", "--pick", "0,0,0", "--format", "gif"})));

} // namespace

} // namespace pelto
