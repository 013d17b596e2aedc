#include "cli/Progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pelto {

namespace {

using namespace std::chrono_literals;

// A clock the test moves.
struct FakeClock {
    std::chrono::steady_clock::time_point now{};
    CBatchProgress::Clock Clock() {
        return [this] { return now; };
    }
};

const PictureReport kFailed{kExitFailure, {"bad"}};

struct Form {
    const char* name;
    ProgressForm form;
    size_t columns;
    std::string expected;
};

class BatchProgressForms : public ::testing::TestWithParam<Form> {};

// Two pictures, two seconds each; the second fails. A narrow terminal's line
// cuts the name, on a whole character.
TEST_P(BatchProgressForms, ShowTheCountTheFileAndTheTimeLeft) {
    FakeClock clock;
    std::ostringstream out;
    CBatchProgress progress(out, 2, GetParam().form, GetParam().columns, clock.Clock());
    progress.Started("in/a.bmp");
    clock.now += 2s;
    progress.Finished("in/a.bmp", {});
    progress.Started("in/ボタン.png");
    clock.now += 2s;
    progress.Finished("in/ボタン.png", kFailed);
    progress.End(0);
    EXPECT_EQ(out.str(), GetParam().expected);
    EXPECT_EQ(progress.Failed(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Forms, BatchProgressForms,
                         ::testing::Values(Form{"Terminal", ProgressForm::Terminal, 80,
                                                "\r\033[K0/2 in/a.bmp"
                                                "\r\033[K1/2 in/a.bmp, about 0:02 left"
                                                "\r\033[K1/2 in/ボタン.png, about 0:02 left"
                                                "\r\033[Kpelto-cli: in/ボタン.png: bad\n"
                                                "\r\033[K2/2 in/ボタン.png"
                                                "\r\033[Kpelto-cli: 1 of 2 written, 1 failed\n"},
                                           Form{"NarrowTerminal", ProgressForm::Terminal, 30,
                                                "\r\033[K0/2 in/a.bmp"
                                                "\r\033[K1/2 in/a.bmp, about 0:02 left"
                                                "\r\033[K1/2 ....png, about 0:02 left"
                                                "\r\033[Kpelto-cli: in/ボタン.png: bad\n"
                                                "\r\033[K2/2 in/ボタン.png"
                                                "\r\033[Kpelto-cli: 1 of 2 written, 1 failed\n"},
                                           Form{"Lines", ProgressForm::Lines, 80,
                                                "1/2 in/a.bmp\n"
                                                "pelto-cli: in/ボタン.png: bad\n"
                                                "2/2 in/ボタン.png failed\n"
                                                "pelto-cli: 1 of 2 written, 1 failed\n"},
                                           Form{"Quiet", ProgressForm::Quiet, 80,
                                                "pelto-cli: in/ボタン.png: bad\n"
                                                "pelto-cli: 1 of 2 written, 1 failed\n"}),
                         [](const auto& c) { return std::string(c.param.name); });

// A name can neither add a line of its own nor reach the terminal raw.
TEST(BatchProgress, QuotesTheNamesItShows) {
    FakeClock clock;
    std::ostringstream out;
    CBatchProgress progress(out, 2, ProgressForm::Lines, 80, clock.Clock());
    progress.Started("a.png\n2/2 b.png");
    progress.Finished("a.png\n2/2 b.png", {});
    progress.Started("\033[2Jc.png");
    progress.Finished("\033[2Jc.png", kFailed);
    progress.End(0);
    EXPECT_EQ(out.str(), "1/2 'a.png'$'\\n''2/2 b.png'\n"
                         "pelto-cli: ''$'\\033''[2Jc.png': bad\n"
                         "2/2 ''$'\\033''[2Jc.png' failed\n"
                         "pelto-cli: 1 of 2 written, 1 failed\n");
}

} // namespace

} // namespace pelto
