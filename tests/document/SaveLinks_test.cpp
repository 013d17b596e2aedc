// Saves through symbolic links (followed as a shell redirect follows them)
// and onto files with several hard links (kept).

#include "document/DocumentFile.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"
#include "system/TemporaryFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

struct LinkCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> links; // name -> what it points at
    std::vector<const char*> folders;
    const char* saveTo;
    const char* written; // the file that receives the picture, or nullptr when refused
    const char* reason;  // part of the refusal
};

class SaveThroughLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SaveThroughLinks, WritesTheFileTheLinksNameOrRefusesALoop) {
    const LinkCase& c = GetParam();
    TempDir dir;
    for (const char* folder : c.folders)
        fs::create_directory(dir.File(folder));
    for (const auto& [name, target] : c.links)
        fs::create_symlink(target, dir.File(name));
    WriteFileBytes(dir.File("in.bmp"), MakeBmp24(5, 4, RGB(1, 2, 3)));
    DocOpenResult r = OpenDocument(dir.File("in.bmp"));
    ASSERT_TRUE(r.doc);
    std::vector<std::string> before;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        before.push_back(entry.path().string());

    const std::string message = SaveDocument(*r.doc, dir.File(c.saveTo));
    if (c.written) {
        EXPECT_EQ(message, "");
        EXPECT_EQ(ReadFileBytes(dir.File(c.written)), ReadFileBytes(dir.File("in.bmp")));
        before.push_back(dir.File(c.written));
    } else {
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(message.find("元のファイル"), std::string::npos) << message; // there was none
    }
    for (const auto& [name, target] : c.links)
        EXPECT_TRUE(fs::is_symlink(dir.File(name))) << name;
    std::vector<std::string> after;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        after.push_back(entry.path().string());
    std::sort(before.begin(), before.end());
    before.erase(std::unique(before.begin(), before.end()), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before); // nothing else appeared, no link was replaced
}

constexpr const char* kLoop = "シンボリックリンクが循環しています。";

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveThroughLinks,
    ::testing::Values(
        LinkCase{"DanglingLinkMakesTheFileItNames",
                 {{"out.bmp", "made.bmp"}},
                 {},
                 "out.bmp",
                 "made.bmp",
                 nullptr},
        LinkCase{"RelativeLinkCountsFromItsFolder",
                 {{"sub/out.bmp", "../real/made.bmp"}},
                 {"sub", "real"},
                 "sub/out.bmp",
                 "real/made.bmp",
                 nullptr},
        LinkCase{"ChainEndingNowhere",
                 {{"a.bmp", "b.bmp"}, {"b.bmp", "c.bmp"}},
                 {},
                 "a.bmp",
                 "c.bmp",
                 nullptr},
        LinkCase{"LinkIntoAMissingFolder",
                 {{"out.bmp", "nowhere/made.bmp"}},
                 {},
                 "out.bmp",
                 nullptr,
                 "見つかりません"},
        LinkCase{
            "LoopOfTwo", {{"a.bmp", "b.bmp"}, {"b.bmp", "a.bmp"}}, {}, "a.bmp", nullptr, kLoop},
        LinkCase{"LinkToItself", {{"a.bmp", "a.bmp"}}, {}, "a.bmp", nullptr, kLoop},
        LinkCase{"LoopBehindAChain",
                 {{"a.bmp", "b.bmp"}, {"b.bmp", "c.bmp"}, {"c.bmp", "b.bmp"}},
                 {},
                 "a.bmp",
                 nullptr,
                 kLoop}),
    [](const auto& c) { return std::string(c.param.name); });

class SaveOntoHardLinks : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override { faults::AllowUnnamedFiles(true); }
};

// Written in place from a checked copy: every name sees the new picture, and
// the copy (unnamed, or named where the filesystem has no unnamed files) is gone.
TEST_P(SaveOntoHardLinks, KeepsEveryLinkAndLeavesNoCopy) {
    faults::AllowUnnamedFiles(GetParam());
    TempDir dir;
    WriteFileBytes(dir.File("a.bmp"),
                   MakeBmp24(30, 20, [](int, int) { return RGB(9, 9, 9); }, {0, 500}));
    fs::create_directory(dir.File("other"));
    fs::create_hard_link(dir.File("a.bmp"), dir.File("other/b.bmp"));
    WriteFileBytes(dir.File("in.bmp"), MakeBmp24(7, 3, RGB(40, 50, 60)));
    DocOpenResult r = OpenDocument(dir.File("in.bmp"));
    ASSERT_TRUE(r.doc);
    struct stat before {};
    ::stat(dir.File("a.bmp").c_str(), &before);

    ASSERT_EQ(SaveDocument(*r.doc, dir.File("a.bmp")), "");
    struct stat after {};
    ::stat(dir.File("a.bmp").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(ReadFileBytes(dir.File("other/b.bmp")), ReadFileBytes(dir.File("in.bmp"))); // shorter
    EXPECT_EQ(FolderListing(dir.Path()), (std::vector<std::string>{"a.bmp", "in.bmp", "other"}));
}

INSTANTIATE_TEST_SUITE_P(Copies, SaveOntoHardLinks, ::testing::Values(true, false),
                         [](const auto& c) { return c.param ? "Unnamed" : "Named"; });

} // namespace

} // namespace pelto
