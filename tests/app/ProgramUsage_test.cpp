#include "app/ProgramUsage.h"
#include "support/SystemTestSupport.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

const std::string kVersion = "PeltoTool " PELTO_VERSION "\n";

TEST(ProgramUsage, HelpAndVersionAnswerWhereverTheyStandAndTheFirstWins) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> answer;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{"picture.bmp"}, std::nullopt},
        {{"/p", "picture.bmp"}, std::nullopt},
        {{"-v"}, std::nullopt},
        {{"--versions"}, std::nullopt},
        {{"--version"}, kVersion},
        {{"picture.bmp", "--version"}, kVersion},
        {{"--help"}, kProgramUsage},
        {{"-h"}, kProgramUsage},
        {{"/pt", "a.bmp", "--help", "--version"}, kProgramUsage},
        {{"--version", "-h"}, kVersion},
    };
    for (const Case& c : cases) {
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(ProgramAnswer(c.arguments), c.answer) << shown << " of " << c.arguments.size();
    }
}

TEST(ProgramUsage, NamesEveryFormOfTheCommandLine) {
    const std::string usage = kProgramUsage;
    for (const char* form :
         {"PeltoTool [FILE...]", "/p FILE", "/pt FILE PRINTER DRIVER PORT", "--help", "--version"})
        EXPECT_NE(usage.find(form), std::string::npos) << form;
}

// The toolkit's usual platform with no display to connect to would end the
// program before it printed anything.
TEST(ProgramUsage, TheProgramAnswersWithoutADisplay) {
    struct Case {
        const char* argument;
        std::string out;
    };
    for (const Case& c : {Case{"--version", kVersion}, Case{"--help", kProgramUsage}}) {
        const ProcessResult run =
            RunProcess({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                        "QT_QPA_PLATFORM=xcb", PELTO_PROGRAM, c.argument});
        EXPECT_EQ(run.exitCode, 0) << c.argument << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.argument;
        EXPECT_EQ(run.err, "") << c.argument;
    }
}

} // namespace

} // namespace pelto
