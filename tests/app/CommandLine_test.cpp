#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct CommandLineCase {
    QStringList arguments;
    CCommandLineInfo::Shell shell;
    QString file, printer, driver, port;
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ParsesTheShellCommand) {
    const CommandLineCase& c = GetParam();
    const CCommandLineInfo info = ParseCommandLine(c.arguments);
    EXPECT_EQ(info.m_nShellCommand, c.shell);
    EXPECT_EQ(info.m_strFileName, c.file);
    EXPECT_EQ(info.m_strPrinterName, c.printer);
    EXPECT_EQ(info.m_strDriverName, c.driver);
    EXPECT_EQ(info.m_strPortName, c.port);
}

using S = CCommandLineInfo::Shell;
INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineTest,
    testing::Values(CommandLineCase{{}, S::FileNew, {}, {}, {}, {}},
                    CommandLineCase{{"a.bmp"}, S::FileOpen, "a.bmp", {}, {}, {}},
                    CommandLineCase{{"/home/u/a.bmp"}, S::FileOpen, "/home/u/a.bmp", {}, {}, {}},
                    CommandLineCase{{"a.bmp", "b.bmp"}, S::FileOpen, "a.bmp", {}, {}, {}},
                    CommandLineCase{{"/p", "a.bmp"}, S::FilePrint, "a.bmp", {}, {}, {}},
                    CommandLineCase{{"-p", "/tmp/a.bmp"}, S::FilePrint, "/tmp/a.bmp", {}, {}, {}},
                    CommandLineCase{{"a.bmp", "/P"}, S::FilePrint, "a.bmp", {}, {}, {}},
                    CommandLineCase{{"/pt", "a.bmp", "Office", "drv", "lp0"},
                                    S::FilePrintTo,
                                    "a.bmp",
                                    "Office",
                                    "drv",
                                    "lp0"},
                    CommandLineCase{{"a.bmp", "-pt", "Office", "drv", "lp0"},
                                    S::FilePrintTo,
                                    "a.bmp",
                                    "Office",
                                    "drv",
                                    "lp0"},
                    CommandLineCase{{"-dde", "a.bmp"}, S::FileOpen, "a.bmp", {}, {}, {}}));

TEST(CommandLine, OpensEveryFileItNames) {
    const CCommandLineInfo info = ParseCommandLine({"a.bmp", "-dde", "b.png", "/tmp/c.bmp"});
    EXPECT_EQ(info.m_nShellCommand, S::FileOpen);
    EXPECT_EQ(info.m_strFileNames, (QStringList{"a.bmp", "b.png", "/tmp/c.bmp"}));
}

} // namespace

} // namespace pelto
