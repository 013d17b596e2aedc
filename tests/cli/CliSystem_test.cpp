// pelto-cli against the system around it: standard streams and FIFOs, signals
// in the middle of a save, another user's files, and a memory limit.

#include "document/DocMessages.h"
#include "support/BmpBuilder.h"
#include "support/PngBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

std::string Text(const Bytes& b) {
    return std::string(b.begin(), b.end());
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
    options.whileRunning = [](pid_t pid) { EndWithin(pid); };
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
    const Bytes picture = LogoBmp(300, 250); // more than a pipe holds
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
    const Bytes picture = LogoBmp(120, 90);
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
    TaskThread reader([&] { received = ReadFileBytes(dir.File("out.fifo")); });
    EXPECT_TRUE(AwaitBlockedInOpen(reader.Task())) << "the reader never waited for a writer";
    const ProcessResult read =
        RunProcess(Cli({dir.File("in.bmp"), dir.File("out.fifo")}), Watched());
    // Frees the reader should the run have left without opening the FIFO.
    ::close(::open(dir.File("out.fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    reader.Join();
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(fs::is_fifo(dir.File("out.fifo")));
}

// Something of the save shows in the process: its unnamed file in the folder.
bool Saving(pid_t pid, const std::string& folder) {
    const std::vector<std::string> files = OpenFiles(pid);
    return std::any_of(files.begin(), files.end(), [&](const std::string& target) {
        return target.starts_with(folder + "/") && target.find("(deleted)") != std::string::npos;
    });
}

class PeltoCliSignals : public ::testing::TestWithParam<int> {};

TEST_P(PeltoCliSignals, EndTheSaveOfABigPictureLeavingNothingBehind) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(4000, 3000)); // 36 MB
    const Bytes old = LogoBmp(10, 10);
    WriteFileBytes(dir.File("out.bmp"), old);
    const std::vector<std::string> listing = FolderListing(dir.Path());
    bool caught = false;
    ProcessOptions options;
    options.whileRunning = [&](pid_t pid) {
        caught = AwaitInFolder(pid, dir.Path(), [&] { return Saving(pid, dir.Path()); });
        if (caught) ::kill(pid, GetParam());
        EndWithin(pid);
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

enum class Who { Root, Nobody };

struct Ownership {
    const char* name;
    bool fileExists;
    Who owner;       // of the old file
    unsigned mode;   // of the old file
    bool secondLink; // the old file has another hard link
    bool folderOpen; // nobody may create files in the folder
    Who saver;
    bool saved;
};

class PeltoCliOwnership : public ::testing::TestWithParam<Ownership> {};

// A save does only what opening the file for writing would allow, and the
// file keeps its owner, group, mode and links; nothing else appears.
TEST_P(PeltoCliOwnership, SavesOnlyWhatItMayOpenForWritingAndKeepsTheOwner) {
    if (const std::string why = WhyNotRoot(); !why.empty()) GTEST_SKIP() << why;
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv";
    const Ownership& c = GetParam();
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(30, 20));
    ::chmod(dir.File("in.bmp").c_str(), 0644);
    const std::string folder = dir.File("work"), target = folder + "/out.bmp";
    ::mkdir(folder.c_str(), 0755);
    ::chmod(folder.c_str(), c.folderOpen ? 0777 : 0755);
    const Bytes old = LogoBmp(8, 8);
    const OtherUser nobody = Nobody();
    if (c.fileExists) {
        WriteFileBytes(target, old);
        if (c.owner == Who::Nobody) ::chown(target.c_str(), nobody.uid, nobody.gid);
        ::chmod(target.c_str(), c.mode);
        if (c.secondLink) ::link(target.c_str(), dir.File("other-name.bmp").c_str());
    }
    struct stat before {};
    ::stat(target.c_str(), &before);
    const std::vector<std::string> listing = FolderListing(folder);

    std::vector<std::string> args = Cli({dir.File("in.bmp"), target});
    if (c.saver == Who::Nobody)
        args.insert(args.begin(),
                    {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    const ProcessResult r = RunProcess(args, Watched());
    EXPECT_EQ(r.exitCode, c.saved ? 0 : 1) << r.err;
    if (!c.saved) {
        EXPECT_NE(r.err.find("アクセスが拒否されました。"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("元のファイルは変更されていません。") != std::string::npos,
                  c.fileExists)
            << r.err;
    }
    if (c.fileExists) {
        EXPECT_NE(ReadFileBytes(target) == old, c.saved);
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        if (c.secondLink) {
            EXPECT_EQ(ReadFileBytes(dir.File("other-name.bmp")), ReadFileBytes(target));
        }
    }
    EXPECT_EQ(FolderListing(folder),
              c.fileExists || !c.saved ? listing : std::vector<std::string>{"out.bmp"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, PeltoCliOwnership,
    ::testing::Values(
        Ownership{"NobodyOverRootsReadOnlyFile", true, Who::Root, 0444, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverRootsPrivateFile", true, Who::Root, 0600, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverItsOwnReadOnlyFile", true, Who::Nobody, 0444, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverRootsSharedFile", true, Who::Root, 0666, false, true, Who::Nobody,
                  true},
        Ownership{"NobodyOverRootsSharedFileInAClosedFolder", true, Who::Root, 0666, false, false,
                  Who::Nobody, true},
        Ownership{"NobodyOverRootsSharedLinkedFile", true, Who::Root, 0666, true, true, Who::Nobody,
                  true},
        Ownership{"NobodyOverItsOwnFile", true, Who::Nobody, 0640, false, true, Who::Nobody, true},
        Ownership{"NobodyOverItsOwnFileInAClosedFolder", true, Who::Nobody, 0640, false, false,
                  Who::Nobody, true},
        Ownership{"NobodyNewFileInAClosedFolder", false, Who::Root, 0, false, false, Who::Nobody,
                  false},
        Ownership{"RootOverNobodysPrivateFile", true, Who::Nobody, 0600, false, false, Who::Root,
                  true},
        Ownership{"RootOverNobodysSetGroupFile", true, Who::Nobody, 02640, false, false, Who::Root,
                  true},
        Ownership{"RootOverAReadOnlyFile", true, Who::Root, 0444, false, false, Who::Root, true},
        Ownership{"RootOverALinkedFile", true, Who::Nobody, 0644, true, false, Who::Root, true}),
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
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(3000, 3000)); // 27 MB, a run of about 55 MB
    ProcessOptions options = Watched();
    options.cgroupFolder = group.Folder();
    const ProcessResult r = RunProcess(Cli({dir.File("in.bmp"), dir.File("out.bmp")}), options);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(docmsg::kOutOfMemory), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.File("out.bmp")));
}

// A 16-bit picture on transparency with a soft rim: its decode holds less
// than its run, whose outer band keeps a mark for each pixel.
Bytes SoftEdgedPng(uint32_t side) {
    const int middle = int(side / 2);
    return MakePng({side, side, 16, 6, false, [=](int x, int y, int c) {
                        const int d = std::abs(x - middle) + std::abs(y - middle);
                        if (c < 3) return uint16_t(c == 0 ? 50000 : 9000);
                        return uint16_t(d < middle / 2 ? 65535 : d < middle / 2 + 8 ? 30000 : 0);
                    }});
}

Bytes BigLogo() {
    return LogoBmp(4096, 4096);
}

Bytes BigSoftEdgedPng() {
    return SoftEdgedPng(4096);
}

struct AddressSpaceCase {
    const char* name;
    // Made when the case runs: every test program of the suite starts by
    // registering the cases, and these take seconds.
    Bytes (*picture)();
    std::string options;
    int fromMegabytes, toMegabytes;
};

class PeltoCliAddressSpace : public ::testing::TestWithParam<AddressSpaceCase> {};

// Under an address-space limit a run either succeeds or is refused before
// its picture is loaded: the refusal names the input, a late one would not.
TEST_P(PeltoCliAddressSpace, RefusesTheRunBeforeItStarts) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit in a small address space";
#endif
    const AddressSpaceCase& c = GetParam();
    TempDir dir;
    WriteFileBytes(dir.File("in"), c.picture());
    int succeeded = 0;
    for (int megabytes = c.fromMegabytes; megabytes <= c.toMegabytes; megabytes += 4) {
        const std::string run = "ulimit -v " + std::to_string(megabytes << 10) + " && exec " +
                                PELTO_CLI + " " + c.options + " --threads 2 " + dir.File("in") +
                                " " + dir.File("out.bmp");
        const ProcessResult r = RunProcess({"/bin/sh", "-c", run}, Watched());
        EXPECT_EQ(r.signal, 0) << megabytes;
        if (r.exitCode == 0) {
            ++succeeded;
            continue;
        }
        EXPECT_NE(r.err.find(dir.File("in") + ": " + docmsg::kOutOfMemory), std::string::npos)
            << megabytes << " MB: " << r.err;
    }
    EXPECT_GT(succeeded, 0); // the limits reach past what the run needs
}

void PrintTo(const AddressSpaceCase& c, std::ostream* out) {
    *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PeltoCliAddressSpace,
    ::testing::Values(
        AddressSpaceCase{"Bmp", BigLogo, "--pick 0,0,0 --width 30", 96,
                         136}, // 48 MB
                               // Its marks, 16 MB, pass what the run's estimate leaves for mapping.
        AddressSpaceCase{"SoftEdgedPngOuterBand", BigSoftEdgedPng, "--outline outer", 112, 160}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
