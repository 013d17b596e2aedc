// A save ended by SIGTERM, SIGINT or SIGHUP while it writes: the process
// still dies by that signal, and no temporary file or copy is left; an
// in-place rewrite finishes first, so the file is whole.

#include "platform/FaultInjection.h"
#include "platform/FileSave.h"
#include "platform/TemporaryFile.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace pelto {

namespace {

enum class Way { Unnamed, Named, InPlace };

struct Interrupted {
    int signal;
    Way way;
};

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string CaseName(const ::testing::TestParamInfo<Interrupted>& c) {
    static const char* const kWays[] = {"Unnamed", "Named", "InPlace"};
    return std::string(sigabbrev_np(c.param.signal)) + kWays[int(c.param.way)];
}

class SaveInterrupted : public ::testing::TestWithParam<Interrupted> {};

TEST_P(SaveInterrupted, DiesByTheSignalAndLeavesNothingBehind) {
    const Interrupted c = GetParam();
    TempDir dir;
    const std::string target = dir.File("old.bmp");
    std::ofstream(target) << "old content";
    if (c.way == Way::InPlace) ::link(target.c_str(), dir.File("second.bmp").c_str());
    const std::vector<std::string> before = FolderListing(dir.Path());
    const std::string half(1 << 20, 'a'), rest(1 << 20, 'b');

    const pid_t child = ::fork();
    if (child == 0) {
        faults::AllowUnnamedFiles(c.way == Way::Unnamed);
        SaveFile(target, [&](CFile& file) {
            file.Write(half.data(), half.size());
            ::raise(c.signal);
            file.Write(rest.data(), rest.size());
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
    EXPECT_EQ(WTERMSIG(status), c.signal);
    EXPECT_EQ(FolderListing(dir.Path()), before);
    EXPECT_EQ(Content(target), c.way == Way::InPlace ? half + rest : "old content");
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SaveInterrupted,
    ::testing::Values(Interrupted{SIGTERM, Way::Unnamed}, Interrupted{SIGTERM, Way::Named},
                      Interrupted{SIGTERM, Way::InPlace}, Interrupted{SIGINT, Way::Unnamed},
                      Interrupted{SIGINT, Way::Named}, Interrupted{SIGINT, Way::InPlace},
                      Interrupted{SIGHUP, Way::Named}, Interrupted{SIGHUP, Way::InPlace}),
    CaseName);

// A signal the process ignores (nohup) stays ignored: the save goes on.
TEST(SaveInterrupted, AnIgnoredHangupLetsTheSaveFinish) {
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGHUP, SIG_IGN);
        faults::AllowUnnamedFiles(false);
        const SaveOutcome outcome = SaveFile(dir.File("new.bmp"), [](CFile& file) {
            ::raise(SIGHUP);
            file.Write("new", 3);
        });
        ::_exit(outcome.error);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Content(dir.File("new.bmp")), "new");
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"new.bmp"});
}

} // namespace

} // namespace pelto
