#include "cli/CliOptions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

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
    EXPECT_EQ(p.options->style.params, ButtonParams{});
}

TEST(ParseCliArguments, TakesEveryOptionInEitherForm) {
    const CliParse p = ParseCliArguments(Args(
        {"--pick=0,0,0", "in.bmp", "--angle", "359", "--contrast=500", "--width", "30", "--shape",
         "round", "--outline=outer", "out.bmp", "--pick", "5,6,100", "--pick=7,8,9,connected"}));
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(Picks(p), (std::vector<BackgroundPick>{{0, 0, 0}, {5, 6, 100}, {7, 8, 9, true}}));
    const ButtonParams& b = p.options->style.params;
    EXPECT_EQ(b.angle, 359);
    EXPECT_EQ(b.contrast, 500);
    EXPECT_EQ(b.width, 30);
    EXPECT_EQ(b.shape, BevelShape::Round);
    EXPECT_EQ(b.outline, BevelOutline::Outer);
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

TEST(ParseCliArguments, OutDirTakesEveryFileAsAnInput) {
    const CliParse p =
        ParseCliArguments(Args({"--out-dir", "d", "a.bmp", "--quiet", "b.png", "c"}));
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->outDir, "d");
    EXPECT_EQ(p.options->inputs, (std::vector<std::string>{"a.bmp", "b.png", "c"}));
    EXPECT_TRUE(p.options->quiet);
}

struct StyleOrder {
    const char* name;
    std::vector<std::string> args; // STYLE: a style with light 90, width 12 and one pick
    int32_t angle;
    std::optional<std::vector<BackgroundPick>> background;
};

class StyleOptionOrder : public ::testing::TestWithParam<StyleOrder> {};

// A style replaces what came before it; what comes after it replaces the style's.
TEST_P(StyleOptionOrder, DecidesWhichValueHolds) {
    TempDir dir;
    ButtonStyle style{{90, 128, 12, BevelShape::Cut, BevelOutline::Inner},
                      std::vector<BackgroundPick>{{5, 5, 5}}};
    ASSERT_EQ(WriteStyle(style, dir.File("style.json")), "");
    style.background.reset();
    ASSERT_EQ(WriteStyle(style, dir.File("bare.json")), "");
    std::vector<std::string> args = {"in.bmp", "out.bmp"};
    for (const std::string& a : GetParam().args)
        args.push_back(
            a == "STYLE" || a == "BARE" ? dir.File(a == "STYLE" ? "style.json" : "bare.json") : a);
    const CliParse p = ParseCliArguments(args);
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->style.params.angle, GetParam().angle);
    EXPECT_EQ(p.options->style.background, GetParam().background);
}

using PickList = std::vector<BackgroundPick>;

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleOptionOrder,
    ::testing::Values(
        StyleOrder{"StyleOverAnAngleBefore",
                   {"--angle", "10", "--style", "STYLE"},
                   90,
                   PickList{{5, 5, 5}}},
        StyleOrder{"AngleAfterOverTheStyle",
                   {"--style", "STYLE", "--angle", "10"},
                   10,
                   PickList{{5, 5, 5}}},
        StyleOrder{"StylesPicksOverPicksBefore",
                   {"--pick", "1,1,1", "--style", "STYLE"},
                   90,
                   PickList{{5, 5, 5}}},
        StyleOrder{"PicksAfterOverTheStyles",
                   {"--style", "STYLE", "--pick", "1,1,1", "--pick", "2,2,2"},
                   90,
                   PickList{{1, 1, 1}, {2, 2, 2}}},
        StyleOrder{"StyleWithoutBackgroundKeepsPicks",
                   {"--pick", "1,1,1", "--style", "BARE"},
                   90,
                   PickList{{1, 1, 1}}},
        StyleOrder{
            "TransparentOverTheStyles", {"--style", "STYLE", "--transparent"}, 90, PickList{}},
        StyleOrder{"NoBackgroundWithoutPicks", {"--style", "BARE"}, 90, std::nullopt}),
    [](const auto& c) { return std::string(c.param.name); });

// As for a picture, pelto-cli waits for a style FIFO's writer however late it comes.
TEST(StyleOption, WaitsForTheWriterOfAFifo) {
    TempDir dir;
    const std::string fifo = dir.File("style.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const ButtonStyle style{{90, 128, 12, BevelShape::Round, BevelOutline::Inner}, std::nullopt};
    const std::string text = FormatStyle(style);
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(CFile::kWriterGraceMs + 1000));
        try {
            CFile out(fifo, CFile::Mode::WriteInPlace);
            out.Write(text.data(), text.size());
        } catch (const CFileException&) { // no reader left: the style was refused
        }
    });
    const CliParse p = ParseCliArguments({"in.bmp", "out.bmp", "--style", fifo});
    writer.join();
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->style.params, style.params);
}

struct NumberCase {
    const char* option;
    const char* value;
    std::string error;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << c.option << " '" << c.value << "'";
}

class NumberArguments : public ::testing::TestWithParam<NumberCase> {};

// A whole number of any size is in the range or out of it; only a text that
// is no whole number at all is told so.
TEST_P(NumberArguments, AreRefusedForWhatIsWrongWithThem) {
    const NumberCase& c = GetParam();
    const CliParse p = ParseCliArguments(Args({"a", "b", "--pick", "0,0,0", c.option, c.value}));
    EXPECT_FALSE(p.options);
    EXPECT_EQ(p.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberArguments,
    ::testing::Values(
        NumberCase{"--threads", "4294967297", "--threads must be from 1 to 256, got 4294967297"},
        NumberCase{"--angle", "4294967296", "--angle must be from 0 to 359, got 4294967296"},
        NumberCase{"--width", "99999", "--width must be from 0 to 30, got 99999"},
        NumberCase{"--contrast", "-99999999999999999999999",
                   "--contrast must be from 0 to 500, got -99999999999999999999999"},
        NumberCase{"--pick", "0,0,18446744073709551616",
                   "--pick tolerance must be from 0 to 100, got 18446744073709551616"},
        NumberCase{"--width", "12x", "--width needs a whole number, got '12x'"},
        NumberCase{"--width", "", "--width needs a whole number, got ''"},
        NumberCase{"--threads", "-", "--threads needs a whole number, got '-'"},
        NumberCase{"--angle", "99999999999999999999x",
                   "--angle needs a whole number, got '99999999999999999999x'"}));

class BadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadArguments, AreRefusedWithAMessage) {
    const CliParse p = ParseCliArguments(GetParam());
    EXPECT_FALSE(p.options);
    EXPECT_FALSE(p.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArguments,
    ::testing::Values(
        Args({}), Args({"in.bmp", "--pick", "0,0,0"}), Args({"a", "b", "c", "--pick", "0,0,0"}),
        Args({"a", "b", "--pick", "0,0"}), Args({"a", "b", "--pick", "0,0,0,0"}),
        Args({"a", "b", "--pick", "0,0,0,"}), Args({"a", "b", "--pick", "0,0,0,Connected"}),
        Args({"a", "b", "--pick", "0,0,0,connected,"}), Args({"a", "b", "--pick", "0,0,connected"}),
        Args({"a", "b", "--pick", "x,0,0"}), Args({"a", "b", "--pick", "0,0,101"}),
        Args({"a", "b", "--pick", "0,0,-1"}), Args({"a", "b", "--pick", "0,,5"}),
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
        Args({"a", "--", "b", "--pick", "0,0,0"}), Args({"--pick", "0,0,0", "--", "a"}),
        Args({"a", "b", "--pick", "0,0,0", "--format", "gif"}),
        Args({"a", "b", "--style", "/no/such/style.json"}), Args({"--save-style", "s.json", "a"}),
        Args({"--save-style", "s.json", "--out-dir", "d"}), Args({"--out-dir", "d"}),
        Args({"--out-dir", "d", "a", "-"}), Args({"--out-dir=", "a"}),
        Args({"--out-dir", "d", "--quiet=yes", "a"})));

} // namespace

} // namespace pelto
