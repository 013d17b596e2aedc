// pelto-cli against the system around it: standard streams and FIFOs, signals
// in the middle of a save, another user's files, and a memory limit.

#include "docview/DocMessages.h"
#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

Bytes Logo(int width, int height) {
    return MakeBmp24(width, height, [&](int x, int y) {
        const int dx = x - width / 2, dy = y - height / 2;
        return dx * dx + dy * dy < width * height / 8 ? RGB(200, 40, 40) : RGB(240, 240, 240);
    });
}

const std::vector<std::string> kBevel = {"--pick", "0,0,0", "--width", "4"};

// The options come first, so that the arguments may end them with --.
std::vector<std::string> Cli(const std::vector<std::string>& args) {
    std::vector<std::string> all = {PELTO_CLI};
    all.insert(all.end(), kBevel.begin(), kBevel.end());
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// Ends the child if it is still running after a while, so that a hang fails instead.
ProcessOptions Watched(ProcessOptions options = {}) {
    options.whileRunning = [](pid_t pid) {
        for (int i = 0; i < 300 && ::kill(pid, 0) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            std::string pidText, name, state;
            if (stat >> pidText >> name >> state && state == "Z") return;
        }
        ::kill(pid, SIGKILL);
    };
    return options;
}

// The expected output of every stream case: the same run between two files.
Bytes FileToFile(const TempDir& dir, const Bytes& picture) {
    WriteFileBytes(dir.File("reference-in.bmp"), picture);
    const ProcessResult r =
        RunProcess(Cli({dir.File("reference-in.bmp"), dir.File("reference-out.bmp")}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const Bytes out = ReadFileBytes(dir.File("reference-out.bmp"));
    fs::remove(dir.File("reference-in.bmp"));
    fs::remove(dir.File("reference-out.bmp"));
    return out;
}

TEST(PeltoCliStreams, ReadsStandardInputAndWritesStandardOutput) {
    TempDir dir;
    const Bytes picture = Logo(300, 250); // more than a pipe holds
    const Bytes expected = FileToFile(dir, picture);
    ProcessOptions piped;
    piped.input = Text(picture);
    for (const std::string input : {"-", "/dev/stdin"}) {
        const ProcessResult r =
            RunProcess(Cli({"--threads", "2", "--", input, "-"}), Watched(piped));
        EXPECT_EQ(r.exitCode, 0) << input << r.err;
        EXPECT_EQ(r.out, Text(expected)) << input;
    }
    ProcessOptions redirected;
    WriteFileBytes(dir.File("in.bmp"), picture);
    redirected.inputFile = dir.File("in.bmp");
    const ProcessResult r = RunProcess(Cli({"-", dir.File("out.bmp")}), Watched(redirected));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), expected);
}

TEST(PeltoCliStreams, RefusesAnEmptyStandardInputInJapanese) {
    ProcessOptions empty;
    empty.input = "";
    const ProcessResult r = RunProcess(Cli({"-", "-"}), Watched(empty));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(docmsg::kEmptyPicture), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST(PeltoCliStreams, WritesToAFifoWithAReaderAndRefusesOneWithout) {
    TempDir dir;
    const Bytes picture = Logo(120, 90);
    const Bytes expected = FileToFile(dir, picture);
    WriteFileBytes(dir.File("in.bmp"), picture);
    ASSERT_EQ(::mkfifo(dir.File("out.fifo").c_str(), 0600), 0);

    const ProcessResult nobody =
        RunProcess(Cli({dir.File("in.bmp"), dir.File("out.fifo")}), Watched());
    EXPECT_EQ(nobody.signal, 0);
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_NE(nobody.err.find("読み取るプログラムがありません"), std::string::npos) << nobody.err;
    EXPECT_EQ(nobody.err.find("元のファイル"), std::string::npos) << nobody.err;

    Bytes received;
    std::thread reader([&] { received = ReadFileBytes(dir.File("out.fifo")); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the reader is waiting
    const ProcessResult read =
        RunProcess(Cli({dir.File("in.bmp"), dir.File("out.fifo")}), Watched());
    reader.join();
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(fs::is_fifo(dir.File("out.fifo")));
}

// Something of the save shows in the process: its unnamed file in the folder.
bool Saving(pid_t pid, const std::string& folder) {
    std::error_code gone;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone)) {
        const std::string target = fs::read_symlink(fd.path(), gone).string();
        if (target.starts_with(folder + "/") && target.find("(deleted)") != std::string::npos)
            return true;
    }
    return false;
}

class PeltoCliSignals : public ::testing::TestWithParam<int> {};

TEST_P(PeltoCliSignals, EndTheSaveOfABigPictureLeavingNothingBehind) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), Logo(4000, 3000)); // 36 MB
    const Bytes old = Logo(10, 10);
    WriteFileBytes(dir.File("out.bmp"), old);
    const std::vector<std::string> listing = FolderListing(dir.Path());
    bool caught = false;
    ProcessOptions options;
    options.whileRunning = [&](pid_t pid) {
        while (::kill(pid, 0) == 0 && !(caught = Saving(pid, dir.Path()))) {
        }
        if (caught) ::kill(pid, GetParam());
    };
    const ProcessResult r = RunProcess(Cli({dir.File("in.bmp"), dir.File("out.bmp")}), options);
    if (!caught) GTEST_SKIP() << "the save ended before it could be interrupted";
    EXPECT_EQ(r.signal, GetParam()) << r.err;
    EXPECT_EQ(FolderListing(dir.Path()), listing);
    EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), old);
}

INSTANTIATE_TEST_SUITE_P(Signals, PeltoCliSignals,
                         ::testing::Values(SIGTERM, SIGINT, SIGHUP, SIGKILL),
                         [](const auto& c) { return std::string(sigabbrev_np(c.param)); });

struct OtherUsersFile {
    const char* name;
    bool ownedByNobody;
    unsigned mode;
    bool saved;
};

class PeltoCliAsAnotherUser : public ::testing::TestWithParam<OtherUsersFile> {};

TEST_P(PeltoCliAsAnotherUser, SavesOnlyWhatItMayOpenForWriting) {
    if (const std::string why = WhyNotRoot(); !why.empty()) GTEST_SKIP() << why;
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv";
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0777);
    WriteFileBytes(dir.File("in.bmp"), Logo(30, 20));
    ::chmod(dir.File("in.bmp").c_str(), 0644);
    const Bytes old = Logo(8, 8);
    WriteFileBytes(dir.File("out.bmp"), old);
    const OtherUser nobody = Nobody();
    if (GetParam().ownedByNobody) ::chown(dir.File("out.bmp").c_str(), nobody.uid, nobody.gid);
    ::chmod(dir.File("out.bmp").c_str(), GetParam().mode);
    struct stat before {};
    ::stat(dir.File("out.bmp").c_str(), &before);

    std::vector<std::string> args = Cli({dir.File("in.bmp"), dir.File("out.bmp")});
    args.insert(args.begin(),
                {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    const ProcessResult r = RunProcess(args, Watched());
    EXPECT_EQ(r.exitCode, GetParam().saved ? 0 : 1) << r.err;
    if (!GetParam().saved) {
        EXPECT_NE(r.err.find("アクセスが拒否されました。"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), old);
    }
    struct stat after {};
    ::stat(dir.File("out.bmp").c_str(), &after);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"in.bmp", "out.bmp"}));
}

INSTANTIATE_TEST_SUITE_P(Files, PeltoCliAsAnotherUser,
                         ::testing::Values(OtherUsersFile{"RootsReadOnlyFile", false, 0444, false},
                                           OtherUsersFile{"RootsPrivateFile", false, 0600, false},
                                           OtherUsersFile{"RootsSharedFile", false, 0666, true},
                                           OtherUsersFile{"OwnReadOnlyFile", true, 0444, false},
                                           OtherUsersFile{"OwnFile", true, 0600, true}),
                         [](const auto& c) { return std::string(c.param.name); });

// A memory control group of its own, removed at the end (v1 or v2).
class MemoryGroup {
public:
    explicit MemoryGroup(uint64_t limit) {
        for (const char* root : {"/sys/fs/cgroup/memory", "/sys/fs/cgroup"}) {
            const std::string folder =
                std::string(root) + "/pelto-test-" + std::to_string(::getpid());
            const std::string file =
                std::string(root) == "/sys/fs/cgroup" ? "memory.max" : "memory.limit_in_bytes";
            if (!fs::exists(
                    std::string(root) + "/" +
                    (file == "memory.max" ? "cgroup.controllers" : "memory.limit_in_bytes")))
                continue;
            if (::mkdir(folder.c_str(), 0755) != 0) continue;
            std::ofstream(folder + "/" + file) << limit << std::flush;
            if (fs::exists(folder + "/" + file)) {
                m_folder = folder;
                return;
            }
            ::rmdir(folder.c_str());
        }
    }
    ~MemoryGroup() {
        if (!m_folder.empty()) ::rmdir(m_folder.c_str());
    }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

// Without the check the system would grant the blocks and then end the
// process when it touched them.
TEST(PeltoCliMemory, APictureTooBigForItsGroupGetsTheMemoryMessage) {
    if (const std::string why = WhyNotRoot(); !why.empty()) GTEST_SKIP() << why;
    const MemoryGroup group(uint64_t(48) << 20);
    if (group.Folder().empty()) GTEST_SKIP() << "no memory control group can be made here";
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), Logo(3000, 3000)); // 27 MB, a run of about 55 MB
    ProcessOptions options = Watched();
    options.cgroupFolder = group.Folder();
    const ProcessResult r = RunProcess(Cli({dir.File("in.bmp"), dir.File("out.bmp")}), options);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(docmsg::kOutOfMemory), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.File("out.bmp")));
}

} // namespace
