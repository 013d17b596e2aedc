// pelto-cli --out-dir: what it refuses before any work, and a run of good and
// broken pictures compared with single runs.

#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/PngBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelto {

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kStyle = {"--pick",  "0,0,0", "--width", "4",
                                         "--angle", "135",   "--shape", "round"};

ProcessResult BatchCli(std::vector<std::string> args) {
    args.insert(args.begin(), PELTO_CLI);
    return RunProcess(args);
}

struct BatchRefusal {
    const char* name;
    std::vector<std::string> args; // after the style; "@NAME" is the folder's file NAME
    const char* expected;
};

class BatchRefusals : public ::testing::TestWithParam<BatchRefusal> {};

// in/a.bmp, other/a.bmp, other/b.bmp, and out/b.bmp a link to in/a.bmp.
TEST_P(BatchRefusals, AreUsageErrorsBeforeAnyWork) {
    TempDir dir;
    for (const char* folder : {"in", "other", "out"})
        fs::create_directories(dir.File(folder));
    for (const char* name : {"in/a.bmp", "other/a.bmp", "other/b.bmp"})
        WriteFileBytes(dir.File(name), LogoBmp(20, 16));
    fs::create_symlink(dir.File("in/a.bmp"), dir.File("out/b.bmp"));
    std::vector<std::string> args = kStyle;
    for (const std::string& a : GetParam().args)
        args.push_back(a.starts_with("@") ? dir.File(a.substr(1)) : a);
    const ProcessResult r = BatchCli(args);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find(GetParam().expected), std::string::npos) << r.err;
    EXPECT_EQ(FolderListing(dir.File("out")), std::vector<std::string>{"b.bmp"});
    EXPECT_EQ(FolderListing(dir.File("in")), std::vector<std::string>{"a.bmp"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchRefusals,
    ::testing::Values(
        BatchRefusal{"MissingFolder", {"--out-dir", "@none", "@in/a.bmp"}, "does not exist"},
        BatchRefusal{"FolderIsAFile", {"--out-dir", "@in/a.bmp", "@in/a.bmp"}, "is not a folder"},
        BatchRefusal{"TwoInputsOfOneName",
                     {"--out-dir", "@out", "@in/a.bmp", "@other/a.bmp"},
                     "have the same name"},
        BatchRefusal{
            "OutputOverAnInput", {"--out-dir", "@in", "@in/a.bmp"}, "would overwrite the input"},
        BatchRefusal{"OutputLinkedToAnInput",
                     {"--out-dir", "@out", "@in/a.bmp", "@other/b.bmp"},
                     "would overwrite the input"}),
    [](const auto& c) { return std::string(c.param.name); });

// A logo on a transparent background.
Bytes LogoPng(int width, int height) {
    return MakePng({uint32_t(width), uint32_t(height), 8, 6, false, [=](int x, int y, int c) {
                        const int dx = x - width / 2, dy = y - height / 2;
                        const bool shape = dx * dx + dy * dy < width * height / 8;
                        return uint16_t(c == 3 ? (shape ? 255 : 0) : shape ? 60 * c + 40 : 250);
                    }});
}

// Every output has the bytes a single run with the same values writes, of the
// kind its name says; each failure says what its single run says, and the others go on.
TEST(Batch, WritesWhatSingleRunsWriteAndReportsEachFailure) {
    TempDir dir;
    for (const char* folder : {"in", "out", "single"})
        fs::create_directories(dir.File(folder));
    WriteFileBytes(dir.File("in/logo.bmp"), LogoBmp(41, 29));
    WriteFileBytes(dir.File("in/logo.png"), LogoPng(37, 30));
    WriteFileBytes(dir.File("in/bmp-named.PNG"), LogoBmp(30, 30));
    WriteFileBytes(dir.File("in/broken.bmp"), {'B', 'M', 1, 2, 3});
    const std::vector<std::string> names = {"logo.bmp", "logo.png", "bmp-named.PNG", "broken.bmp",
                                            "missing.png"};

    std::vector<std::string> save = {"--save-style", dir.File("style.json")};
    save.insert(save.end(), kStyle.begin(), kStyle.end());
    ASSERT_EQ(BatchCli(save).exitCode, 0);
    std::vector<std::string> batch = {
        "--style", dir.File("style.json"), "--out-dir", dir.File("out"), "--threads", "2"};
    for (const std::string& name : names)
        batch.push_back(dir.File("in/" + name));
    const ProcessResult run = BatchCli(batch);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("pelto-cli: 3 of 5 written, 2 failed\n"), std::string::npos) << run.err;

    for (const std::string& name : names) {
        std::vector<std::string> single = {dir.File("in/" + name), dir.File("single/" + name)};
        single.insert(single.end(), kStyle.begin(), kStyle.end());
        const ProcessResult alone = BatchCli(single);
        if (alone.exitCode != 0) {
            EXPECT_FALSE(alone.err.empty());
            EXPECT_NE(run.err.find(alone.err), std::string::npos) << name << "\n" << run.err;
            continue;
        }
        const Bytes out = ReadFileBytes(dir.File("out/" + name));
        EXPECT_EQ(out, ReadFileBytes(dir.File("single/" + name))) << name;
        EXPECT_EQ(out.size() > 8 && png::HasSignature(out.data(), out.size()),
                  name.ends_with("PNG") || name.ends_with("png"))
            << name;
    }
    EXPECT_EQ(FolderListing(dir.File("out")), FolderListing(dir.File("single")));
    EXPECT_EQ(FolderListing(dir.File("out")).size(), 3u);
}

} // namespace

} // namespace pelto
