// A save ended by SIGTERM, SIGINT or SIGHUP while it writes: the process
// still dies by that signal, and no temporary file or copy is left; an
// in-place rewrite finishes first, so the file is whole.

#include "support/FaultControl.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"
#include "system/FileSave.h"
#include "system/TemporaryFile.h"

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

struct Killed {
    size_t before; // bytes of the new content written when kill -9 comes
    bool unnamed;
};

class SaveKilled : public ::testing::TestWithParam<Killed> {};

// Nothing can be caught on kill -9: a file rewritten in place holds its old
// content or the new, or, cut in the middle, its old content stands beside it.
TEST_P(SaveKilled, InTheMiddleOfARewriteLeavesTheOldContentBeside) {
    const Killed c = GetParam();
    TempDir dir;
    const std::string target = dir.File("old.bmp");
    const std::string old(300000, 'o'), fresh(600000, 'n');
    std::ofstream(target) << old;
    ::link(target.c_str(), dir.File("second.bmp").c_str());

    const pid_t child = ::fork();
    if (child == 0) {
        faults::AllowUnnamedFiles(c.unnamed);
        SaveFile(target, [&](CFile& file) {
            file.Write(fresh.data(), c.before);
            ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string now = Content(target);
    if (now != old && now != fresh) {
        EXPECT_EQ(Content(dir.File("old.bmp.pelto-backup")), old);
    }
    std::vector<std::string> left = FolderListing(dir.Path());
    std::erase(left, "old.bmp.pelto-backup");
    EXPECT_EQ(left, (std::vector<std::string>{"old.bmp", "second.bmp"}));
}

INSTANTIATE_TEST_SUITE_P(Points, SaveKilled,
                         ::testing::Values(Killed{0, true}, Killed{1000, true},
                                           Killed{300000, true}, Killed{600000, true},
                                           Killed{1000, false}, Killed{600000, false}),
                         [](const auto& c) {
                             return std::to_string(c.param.before) +
                                    (c.param.unnamed ? "Unnamed" : "Named");
                         });

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
