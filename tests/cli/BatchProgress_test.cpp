#include "cli/Progress.h"

#include <gtest/gtest.h>

#include <csignal>
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
    std::string expected;
};

class BatchProgressForms : public ::testing::TestWithParam<Form> {};

// Two pictures, two seconds each; the second fails.
TEST_P(BatchProgressForms, ShowTheCountTheFileAndTheTimeLeft) {
    FakeClock clock;
    std::ostringstream out;
    CBatchProgress progress(out, 2, GetParam().form, 80, clock.Clock());
    progress.Started("in/a.bmp");
    clock.now += 2s;
    progress.Finished("in/a.bmp", {});
    progress.Started("in/b.png");
    clock.now += 2s;
    progress.Finished("in/b.png", kFailed);
    progress.End(0);
    EXPECT_EQ(out.str(), GetParam().expected);
    EXPECT_EQ(progress.Failed(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, BatchProgressForms,
    ::testing::Values(
        Form{"Terminal", ProgressForm::Terminal,
             "\r\033[K0/2 in/a.bmp"
             "\r\033[K1/2 in/a.bmp, about 0:02 left"
             "\r\033[K1/2 in/b.png, about 0:02 left"
             "\r\033[Kpelto-cli: in/b.png: bad\n"
             "\r\033[K2/2 in/b.png"
             "\r\033[Kpelto-cli: 1 of 2 written, 1 failed\n"},
        Form{"Lines", ProgressForm::Lines,
             "1/2 in/a.bmp\n"
             "pelto-cli: in/b.png: bad\n"
             "2/2 in/b.png failed\n"
             "pelto-cli: 1 of 2 written, 1 failed\n"},
        Form{"Quiet", ProgressForm::Quiet,
             "pelto-cli: in/b.png: bad\n"
             "pelto-cli: 1 of 2 written, 1 failed\n"}),
    [](const auto& c) { return std::string(c.param.name); });

// The line keeps within the terminal, cutting the name on a whole character.
TEST(BatchProgress, FitsTheLineAndSaysWhatAStopLeftUndone) {
    FakeClock clock;
    std::ostringstream out;
    CBatchProgress progress(out, 3, ProgressForm::Terminal, 36, clock.Clock());
    progress.Started("pictures/ボタン-1.png");
    clock.now += 90min;
    progress.Finished("pictures/ボタン-1.png", {});
    progress.End(SIGINT);
    EXPECT_EQ(out.str(), "\r\033[K0/3 pictures/ボタン-1.png"
                         "\r\033[K1/3 ...-1.png, about 3:00:00 left"
                         "\r\033[Kpelto-cli: stopped by SIGINT: 1 of 3 written, 0 failed, "
                         "2 not started\n");
}

} // namespace

} // namespace pelto
