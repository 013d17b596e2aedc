// Saves onto files of another user, as that user and as root, on real files:
// a save does only what opening the file for writing would allow, and the
// file keeps its owner, group, mode and links.

#include "docview/DocMessages.h"
#include "docview/DocumentFile.h"
#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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

constexpr const char* kDenied = "アクセスが拒否されました。";
constexpr const char* kUnchanged = "元のファイルは変更されていません。";

class SaveOwnership : public ::testing::TestWithParam<Ownership> {};

TEST_P(SaveOwnership, SavesOnlyWhereOpeningForWritingWouldAndKeepsTheFilesOwner) {
    if (const std::string why = WhyNotRoot(); !why.empty()) GTEST_SKIP() << why;
    const Ownership& c = GetParam();
    const OtherUser nobody = Nobody();
    TempDir dir;
    ::chmod(dir.Path().c_str(), 0755);
    const std::string folder = dir.File("work"), target = folder + "/old.bmp";
    ::mkdir(folder.c_str(), c.folderOpen ? 0777 : 0755);
    ::chmod(folder.c_str(), c.folderOpen ? 0777 : 0755);
    const Bytes old = MakeBmp24(6, 5, RGB(10, 20, 30));
    if (c.fileExists) {
        WriteFileBytes(target, old);
        if (c.owner == Who::Nobody) ::chown(target.c_str(), nobody.uid, nobody.gid);
        ::chmod(target.c_str(), c.mode);
        if (c.secondLink) ::link(target.c_str(), dir.File("other-name.bmp").c_str());
    }
    struct stat before {};
    ::stat(target.c_str(), &before);
    const std::vector<std::string> listing = FolderListing(folder);

    WriteFileBytes(dir.File("in.bmp"), MakeBmp24(6, 5, RGB(200, 100, 50)));
    DocOpenResult r = OpenDocument(dir.File("in.bmp"));
    ASSERT_TRUE(r.doc);
    const std::string message = c.saver == Who::Root
                                    ? SaveDocument(*r.doc, target)
                                    : RunAsNobody([&] { return SaveDocument(*r.doc, target); });

    if (c.saved) {
        ASSERT_EQ(message, "");
        EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(dir.File("in.bmp")));
    } else {
        EXPECT_NE(message.find(kDenied), std::string::npos) << message;
        EXPECT_EQ(message.find(kUnchanged) != std::string::npos, c.fileExists) << message;
        if (c.fileExists) {
            EXPECT_EQ(ReadFileBytes(target), old);
        }
    }
    if (c.fileExists) {
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
    std::vector<std::string> expected = listing;
    if (!c.fileExists && c.saved) expected = {"old.bmp"};
    EXPECT_EQ(FolderListing(folder), expected); // no temporary left behind
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveOwnership,
    ::testing::Values(
        Ownership{"NobodyOverRootsReadOnlyFile", true, Who::Root, 0444, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverRootsPrivateFile", true, Who::Root, 0600, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverItsOwnReadOnlyFile", true, Who::Nobody, 0444, false, true, Who::Nobody,
                  false},
        Ownership{"NobodyOverRootsWritableFile", true, Who::Root, 0666, false, true, Who::Nobody,
                  true},
        Ownership{"NobodyOverRootsWritableFileInAClosedFolder", true, Who::Root, 0666, false, false,
                  Who::Nobody, true},
        Ownership{"NobodyOverRootsWritableLinkedFile", true, Who::Root, 0666, true, true,
                  Who::Nobody, true},
        Ownership{"NobodyOverItsOwnFile", true, Who::Nobody, 0640, false, true, Who::Nobody, true},
        Ownership{"NobodyNewFileInAClosedFolder", false, Who::Root, 0, false, false, Who::Nobody,
                  false},
        Ownership{"RootOverNobodysPrivateFile", true, Who::Nobody, 0600, false, false, Who::Root,
                  true},
        Ownership{"RootOverNobodysSetGroupFile", true, Who::Nobody, 02640, false, false, Who::Root,
                  true},
        Ownership{"RootOverAReadOnlyFile", true, Who::Root, 0444, false, false, Who::Root, true},
        Ownership{"RootOverALinkedFile", true, Who::Nobody, 0644, true, false, Who::Root, true}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace
