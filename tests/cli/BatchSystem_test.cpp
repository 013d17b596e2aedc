// pelto-cli --out-dir against the system around it: a signal in the middle
// of a batch, a small address space, and the README's recipe for spreading
// one with GNU parallel.

#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>

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

class BatchSignals : public ::testing::TestWithParam<int> {};

// The pictures in flight finish; none starts after the signal; nothing is half written.
TEST_P(BatchSignals, StopAfterThePicturesInFlight) {
    TempDir dir;
    const std::vector<std::string> names = Names(16);
    LayOut(dir, names, LogoBmp(1600, 1200)); // 5.8 MB each
    ASSERT_EQ(RunProcess({kCli, "--style", dir.File("style.json"), dir.File("in/p0.bmp"),
                          dir.File("single.bmp")})
                  .exitCode,
              0);
    const Bytes single = ReadFileBytes(dir.File("single.bmp"));
    std::vector<std::string> args = {kCli, "--style",   dir.File("style.json"), "--threads",
                                     "1",  "--out-dir", dir.File("out")};
    for (const std::string& name : names)
        args.push_back(dir.File("in/" + name));
    ProcessOptions options;
    options.whileRunning = [&](pid_t pid) {
        while (::kill(pid, 0) == 0 && FolderListing(dir.File("out")).empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(pid, GetParam());
    };
    const ProcessResult r = RunProcess(args, options);
    const std::vector<std::string> written = FolderListing(dir.File("out"));
    if (written.size() == names.size()) GTEST_SKIP() << "the batch ended before the signal";
    EXPECT_EQ(r.exitCode, 128 + GetParam()) << r.err;
    EXPECT_NE(r.err.find(std::string("stopped by SIG") + sigabbrev_np(GetParam())),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("not started"), std::string::npos) << r.err;
    // Every name there is a whole output: no temporary or half-written file.
    for (const std::string& name : written) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        EXPECT_EQ(ReadFileBytes(dir.File("out/" + name)), single) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, BatchSignals, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& c) { return std::string(sigabbrev_np(c.param)); });

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

// The README's recipe with this machine as the only worker (":" runs its jobs
// here, without ssh) gives the bytes of a batch run here.
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
