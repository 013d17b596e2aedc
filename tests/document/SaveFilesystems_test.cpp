// Saves onto real small and read-only filesystems: a save that does not fit
// reports it, keeps the old file and gives every byte of space back.

#include "document/DocumentFile.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "support/SystemTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pelto {

namespace {

constexpr uint64_t kFilesystem = 1 << 20;
constexpr const char* kNoRoomLeft = "ディスクの空き容量が足りません。";
constexpr const char* kUnchanged = "元のファイルは変更されていません。";

uint64_t FreeBytes(const std::string& path) {
    struct statvfs fs {};
    ::statvfs(path.c_str(), &fs);
    return uint64_t(fs.f_bavail) * fs.f_frsize;
}

std::unique_ptr<CPeltoDoc> Picture(int width, int height) {
    auto doc = std::make_unique<CPeltoDoc>();
    LoadPicture(*doc, MakeBmp24(width, height, [](int x, int y) { return RGB(x, y, 7); }));
    return doc;
}

struct NoRoom {
    const char* name;
    bool secondLink; // the old file is rewritten in place and must be put back
};

class SaveWithoutRoom : public ::testing::TestWithParam<NoRoom> {};

TEST_P(SaveWithoutRoom, KeepsTheOldFileAndGivesTheSpaceBack) {
    TempMount disk(kFilesystem);
    if (!disk.Failure().empty()) GTEST_SKIP() << disk.Failure();
    const Bytes old = MakeBmp24(40, 40, RGB(1, 2, 3)); // about 5 KB
    WriteFileBytes(disk.File("old.bmp"), old);
    if (GetParam().secondLink) ::link(disk.File("old.bmp").c_str(), disk.File("b.bmp").c_str());
    // Room for a copy of the old file, not for the new picture.
    const uint64_t leave = 64 * 1024;
    WriteFileBytes(disk.File("filler"), Bytes(FreeBytes(disk.Path()) - leave, 0x55));
    const std::vector<std::string> listing = FolderListing(disk.Path());
    const uint64_t free = FreeBytes(disk.Path());

    auto doc = Picture(200, 200); // about 120 KB
    const std::string message = SaveDocument(*doc, disk.File("old.bmp"));
    EXPECT_NE(message.find(kNoRoomLeft), std::string::npos) << message;
    EXPECT_NE(message.find(kUnchanged), std::string::npos) << message;
    EXPECT_EQ(ReadFileBytes(disk.File("old.bmp")), old);
    if (GetParam().secondLink) {
        EXPECT_EQ(ReadFileBytes(disk.File("b.bmp")), old);
    }
    EXPECT_EQ(FolderListing(disk.Path()), listing);
    EXPECT_EQ(FreeBytes(disk.Path()), free);

    // Once there is room again the same save goes through.
    ::unlink(disk.File("filler").c_str());
    EXPECT_EQ(SaveDocument(*doc, disk.File("old.bmp")), "");
    EXPECT_EQ(ReadFileBytes(disk.File("old.bmp")).size(), doc->Picture().m_nFileSize);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveWithoutRoom,
                         ::testing::Values(NoRoom{"Replaced", false}, NoRoom{"InPlace", true}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(SaveOnAReadOnlyFilesystem, IsRefusedForNewAndExistingFiles) {
    TempMount disk(kFilesystem);
    if (!disk.Failure().empty()) GTEST_SKIP() << disk.Failure();
    const Bytes old = MakeBmp24(4, 4, RGB(1, 2, 3));
    WriteFileBytes(disk.File("old.bmp"), old);
    ASSERT_TRUE(disk.RemountReadOnly());
    auto doc = Picture(8, 8);
    for (const char* name : {"old.bmp", "new.bmp"}) {
        const std::string message = SaveDocument(*doc, disk.File(name));
        EXPECT_NE(message.find("読み取り専用の場所です。"), std::string::npos) << message;
        EXPECT_EQ(message.find(kUnchanged) != std::string::npos, name == std::string("old.bmp"));
    }
    EXPECT_EQ(ReadFileBytes(disk.File("old.bmp")), old);
    EXPECT_EQ(FolderListing(disk.Path()), std::vector<std::string>{"old.bmp"});
}

} // namespace

} // namespace pelto
