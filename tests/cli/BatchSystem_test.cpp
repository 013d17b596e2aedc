// pelto-cli --out-dir against the system around it: a signal in the middle
// of a batch, FIFOs, a small address space, and the documented recipe for
// spreading one with GNU parallel.

#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

const std::string kCli = PELTO_CLI;

// The inputs in/NAME, all the same picture, and a style for them.
void LayOut(const TempDir& dir, const std::vector<std::string>& names, const Bytes& picture) {
    for (const char* folder : {"in", "out"})
        fs::create_directories(dir.File(folder));
    for (const std::string& name : names)
        WriteFileBytes(dir.File("in/" + name), picture);
    ASSERT_EQ(RunProcess({kCli, "--save-style", dir.File("style.json"), "--pick", "0,0,0",
                          "--width", "6", "--shape", "round"})
                  .exitCode,
              0);
}

std::vector<std::string> Names(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("p" + std::to_string(i) + ".bmp");
    return names;
}

struct Stop {
    int signal;
    bool idleFifo; // one small picture and a FIFO nobody writes, else many big pictures
};

class BatchSignals : public ::testing::TestWithParam<Stop> {};

// The pictures in flight finish; none starts after the signal, nor does one
// still waiting for its FIFO's writer; nothing is half written.
TEST_P(BatchSignals, StopAfterThePicturesInFlight) {
    const Stop& c = GetParam();
    TempDir dir;
    const std::vector<std::string> names = Names(c.idleFifo ? 1 : 16);
    LayOut(dir, names, c.idleFifo ? LogoBmp(120, 90) : LogoBmp(1600, 1200)); // 5.8 MB each
    ASSERT_EQ(RunProcess({kCli, "--style", dir.File("style.json"), dir.File("in/p0.bmp"),
                          dir.File("single.bmp")})
                  .exitCode,
              0);
    const Bytes single = ReadFileBytes(dir.File("single.bmp"));
    std::vector<std::string> args = {kCli, "--style",   dir.File("style.json"), "--threads",
                                     "1",  "--out-dir", dir.File("out")};
    for (const std::string& name : names)
        args.push_back(dir.File("in/" + name));
    if (c.idleFifo) {
        ASSERT_EQ(::mkfifo(dir.File("in/fifo.bmp").c_str(), 0600), 0);
        args.push_back(dir.File("in/fifo.bmp"));
    }
    const size_t total = names.size() + c.idleFifo;
    ProcessOptions options;
    options.whileRunning = [&](pid_t pid) {
        AwaitInFolder(pid, dir.File("out"),
                      [&] { return !FolderListing(dir.File("out")).empty(); });
        ::kill(pid, c.signal);
        // With no picture in flight, at once.
        EndWithin(pid, c.idleFifo ? std::chrono::seconds(5) : kPatience);
    };
    const ProcessResult r = RunProcess(args, options);
    const std::vector<std::string> written = FolderListing(dir.File("out"));
    if (written.size() == total) GTEST_SKIP() << "the batch ended before the signal";
    EXPECT_EQ(r.exitCode, 128 + c.signal) << r.err;
    const std::string summary = std::string("stopped by SIG") + sigabbrev_np(c.signal) + ": " +
                                std::to_string(written.size()) + " of " + std::to_string(total) +
                                " written, 0 failed, " + std::to_string(total - written.size()) +
                                " not started\n";
    EXPECT_NE(r.err.find(summary), std::string::npos) << r.err;
    // Every name there is a whole output: no temporary or half-written file.
    for (const std::string& name : written) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        EXPECT_EQ(ReadFileBytes(dir.File("out/" + name)), single) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, BatchSignals,
                         ::testing::Values(Stop{SIGINT, false}, Stop{SIGTERM, false},
                                           Stop{SIGINT, true}, Stop{SIGTERM, true}),
                         [](const auto& c) {
                             return std::string(sigabbrev_np(c.param.signal)) +
                                    (c.param.idleFifo ? "WhileAFifoAwaitsItsWriter" : "");
                         });

class BatchFifo : public ::testing::TestWithParam<bool> {};

// Writes all of picture to the FIFO open at fd and closes it; false when the
// reader left first, which shows as EPIPE here, not as the end of the tests.
bool Deliver(int fd, const Bytes& picture) {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    const bool whole =
        fd >= 0 && ::write(fd, picture.data(), picture.size()) == ssize_t(picture.size());
    ::close(fd);
    return whole;
}

// A FIFO is read to its end, whether its writer waited for the batch before
// it began (the batch must not open the FIFO before the picture's turn) or
// comes after the other pictures are written.
TEST_P(BatchFifo, IsWrittenWhenItsWriterComes) {
    const bool late = GetParam();
    TempDir dir;
    const std::vector<std::string> names = Names(3);
    const Bytes picture = LogoBmp(300, 250); // more than a pipe holds
    LayOut(dir, names, picture);
    const std::string fifo = dir.File("in/fifo.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::vector<std::string> args = {kCli, "--style",   dir.File("style.json"), "--threads",
                                     "1",  "--out-dir", dir.File("out")};
    for (const std::string& name : names)
        args.push_back(dir.File("in/" + name));
    args.push_back(fifo);
    std::atomic<bool> delivered{false};
    std::optional<TaskThread> writer;
    if (!late) {
        writer.emplace(
            [&] { delivered = Deliver(::open(fifo.c_str(), O_WRONLY | O_CLOEXEC), picture); });
        EXPECT_TRUE(AwaitBlockedInOpen(writer->Task())) << "the early writer never waited";
    }
    ProcessOptions options;
    options.whileRunning = [&](pid_t pid) {
        int fd = -1;
        // The late writer opens without waiting, so it comes only once the
        // batch holds the FIFO open to read it.
        const auto othersWritten = [&] {
            return FolderListing(dir.File("out")).size() >= names.size();
        };
        const auto fifoOpened = [&] {
            return (fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0;
        };
        if (late && AwaitInFolder(pid, dir.File("out"), othersWritten) &&
            AwaitInFolder(pid, dir.File("in"), fifoOpened)) {
            ::fcntl(fd, F_SETFL, 0);
            writer.emplace([&, fd] { delivered = Deliver(fd, picture); });
        }
        EndWithin(pid);
    };
    const ProcessResult r = RunProcess(args, options);
    // Frees the early writer should the batch have left without opening the FIFO.
    ::close(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    writer.reset();
    EXPECT_TRUE(delivered);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.File("out/fifo.bmp")), ReadFileBytes(dir.File("out/p0.bmp")));
}

INSTANTIATE_TEST_SUITE_P(Writers, BatchFifo, ::testing::Bool(),
                         [](const auto& c) { return std::string(c.param ? "Late" : "Early"); });

// Where a single run fits, a batch of many fits too: fewer pictures at once,
// none refused for the memory its neighbours or its workers' heaps take.
TEST(BatchMemory, AnAddressSpaceLimitRunsFewerAtOnceAndFailsNone) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit in a small address space";
#endif
    TempDir dir;
    const std::vector<std::string> names = Names(8);
    LayOut(dir, names, LogoBmp(2000, 1500)); // 9 MB each
    const std::string style = " --style " + dir.File("style.json") + " ";
    // Just above one run's need, and where the workers' own heaps once filled it.
    for (const int megabytes : {48, 200}) {
        const std::string limit = "ulimit -v " + std::to_string(megabytes << 10) + " && exec " +
                                  kCli + " --quiet --threads 2" + style;
        const std::string single = dir.File("in/p0.bmp") + " " + dir.File("single.bmp");
        if (RunProcess({"/bin/sh", "-c", limit + single}).exitCode != 0) continue;
        fs::remove_all(dir.File("out"));
        fs::create_directories(dir.File("out"));
        const ProcessResult r = RunProcess(
            {"/bin/sh", "-c", limit + "--out-dir " + dir.File("out") + " " + dir.File("in/*.bmp")});
        EXPECT_EQ(r.exitCode, 0) << megabytes << " MB: " << r.err;
        EXPECT_EQ(FolderListing(dir.File("out")), names) << megabytes << " MB";
    }
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// The recipe of docs/styles-and-batches.md with this machine as the only
// worker (":" runs its jobs here, without ssh) gives the bytes of a batch run
// here.
TEST(BatchParallel, TheRecipeGivesTheBytesOfALocalRun) {
    if (!fs::exists("/usr/bin/parallel")) GTEST_SKIP() << "no GNU parallel (scripts/setup.sh)";
    TempDir dir;
    const std::vector<std::string> names = Names(5);
    LayOut(dir, names, LogoBmp(120, 90));
    fs::create_directories(dir.File("local"));
    std::vector<std::string> local = {kCli, "--style", dir.File("style.json"), "--out-dir",
                                      dir.File("local")};
    for (const std::string& name : names)
        local.push_back(dir.File("in/" + name));
    ASSERT_EQ(RunProcess(local).exitCode, 0);
    const std::string recipe =
        "cd " + Quoted(dir.Path()) + " && PATH=" + Quoted(fs::path(kCli).parent_path().string()) +
        ":$PATH parallel --will-cite --sshlogin : --basefile style.json --transferfile {} "
        "--return out/{/} --cleanup 'mkdir -p out && pelto-cli --quiet --style style.json "
        "--out-dir out {}' ::: in/*.bmp";
    const ProcessResult r = RunProcess({"/bin/sh", "-c", recipe});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FolderListing(dir.File("out")), names);
    for (const std::string& name : names)
        EXPECT_EQ(ReadFileBytes(dir.File("out/" + name)), ReadFileBytes(dir.File("local/" + name)))
            << name;
}

} // namespace

} // namespace pelto
