#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/SquareDoc.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"
#include "system/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

COLORREF Pattern(int x, int y) {
    return RGB(x * 20, y * 20, 90);
}

TEST(OpenDocument, LoadsAPicture) {
    TempDir dir;
    WriteFileBytes(dir.File("a.bmp"), MakeBmp24(7, 5, Pattern, {16, 4}));
    DocOpenResult r = OpenDocument(dir.File("a.bmp"));
    ASSERT_TRUE(r.doc);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.doc->Picture().m_nWidth, 7);
    EXPECT_EQ(ShownPixel(r.doc->Picture(), 6, 4), Pattern(6, 4));
    EXPECT_FALSE(r.doc->HasSelection());
    EXPECT_FALSE(r.doc->CanUndo());
}

TEST(OpenDocument, ZeroLengthFileGivesAnEmptyPictureThatSavesEmpty) {
    TempDir dir;
    WriteFileBytes(dir.File("empty.bmp"), {});
    DocOpenResult r = OpenDocument(dir.File("empty.bmp"));
    ASSERT_TRUE(r.doc);
    EXPECT_FALSE(r.doc->Picture().HasBlock());
    EXPECT_EQ(r.doc->Picture().m_nWidth, 1);
    EXPECT_EQ(r.doc->Picture().m_nHeight, 1);
    EXPECT_EQ(SaveDocument(*r.doc, dir.File("out.bmp")), "");
    EXPECT_EQ(fs::file_size(dir.File("out.bmp")), 0u);
}

TEST(OpenDocument, RefusedFileGivesThePicturesMessageThenTheUnexpectedFormat) {
    TempDir dir;
    Bytes eightBit = MakeBmp24(3, 3, RGB(1, 2, 3));
    PutU16(eightBit, 28, 8);
    WriteFileBytes(dir.File("8.bmp"), eightBit);
    DocOpenResult r = OpenDocument(dir.File("8.bmp"));
    EXPECT_FALSE(r.doc);
    EXPECT_EQ(r.messages,
              (std::vector<std::string>{CDIB::kMsgNotFullColour, docmsg::kUnexpectedFormat}));
}

TEST(OpenDocument, MissingFileOrFolderIsReported) {
    TempDir dir;
    for (const std::string& path : {dir.File("missing.bmp"), dir.Path()}) {
        DocOpenResult r = OpenDocument(path);
        EXPECT_FALSE(r.doc);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(r.messages[0].find(path), std::string::npos);
    }
}

TEST(SaveDocument, WritesTheBlockBackAndKeepsTheFileMode) {
    TempDir dir;
    const Bytes file = MakeBmp24(5, 3, Pattern, {1024, 17});
    WriteFileBytes(dir.File("a.bmp"), file);
    ::chmod(dir.File("a.bmp").c_str(), 0640);
    DocOpenResult r = OpenDocument(dir.File("a.bmp"));
    ASSERT_TRUE(r.doc);
    Bytes expected = file;
    expected[54 + 1024] = 3; // blue, green, red of stored row 0, column 0
    expected[54 + 1024 + 1] = 2;
    expected[54 + 1024 + 2] = 1;
    LoadPicture(*r.doc, expected);
    EXPECT_EQ(SaveDocument(*r.doc, dir.File("a.bmp")), "");

    EXPECT_EQ(ReadFileBytes(dir.File("a.bmp")), expected);
    EXPECT_EQ(fs::status(dir.File("a.bmp")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
              1); // no temporaries left
}

TEST(SaveDocument, WritesThroughALinkToItsTarget) {
    TempDir dir;
    WriteFileBytes(dir.File("real.bmp"), MakeBmp24(2, 2, Pattern));
    fs::create_symlink(dir.File("real.bmp"), dir.File("link.bmp"));
    DocOpenResult r = OpenDocument(dir.File("link.bmp"));
    ASSERT_TRUE(r.doc);
    LoadPicture(*r.doc, MakeBmp24(2, 2, RGB(9, 9, 9)));
    EXPECT_EQ(SaveDocument(*r.doc, dir.File("link.bmp")), "");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.bmp")));
    DocOpenResult back = OpenDocument(dir.File("real.bmp"));
    ASSERT_TRUE(back.doc);
    EXPECT_EQ(back.doc->Picture().GetPixel(1, 1), RGB(9, 9, 9));
}

struct FailedSave {
    const char* name;
    std::function<std::string(const TempDir&)> prepare; // returns the path to save to
    const char* reason = nullptr;                       // part of the message, when it is known
};

class SaveFailure : public ::testing::TestWithParam<FailedSave> {
protected:
    void TearDown() override { faults::FailWritesAfter(0); }
};

TEST_P(SaveFailure, ReportsAndLeavesTheOldFileIntact) {
    if (::geteuid() == 0 && std::string(GetParam().name) == "ReadOnlyFolder")
        GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    const Bytes old = MakeBmp24(4, 4, RGB(10, 20, 30));
    WriteFileBytes(dir.File("old.bmp"), old);
    DocOpenResult r = OpenDocument(dir.File("old.bmp"));
    ASSERT_TRUE(r.doc);
    LoadPicture(*r.doc, MakeBmp24(4, 4, RGB(255, 0, 0)));

    const std::string target = GetParam().prepare(dir);
    std::error_code noSuchName;
    const bool existed = fs::is_regular_file(target, noSuchName);
    const std::vector<std::string> before = TreeListing(dir.Path());
    const std::string message = SaveDocument(*r.doc, target);
    faults::FailWritesAfter(0);
    EXPECT_NE(message.find(target), std::string::npos) << message;
    if (GetParam().reason) {
        EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("old.bmp")), old);
    if (existed) {
        EXPECT_EQ(ReadFileBytes(target), old);
    }
    EXPECT_EQ(TreeListing(dir.Path()), before); // no temporary left behind
}

// Full or failing disks are simulated, so they fail for root too.
std::string FailingDisk(const TempDir& d, int error, uint64_t bytesBeforeFailure) {
    faults::FailWritesAfter(error, bytesBeforeFailure);
    return d.File("old.bmp");
}

constexpr const char* kDiskFull = "ディスクの空き容量が足りません。";
constexpr const char* kIoError = "入出力エラーが発生しました。";
constexpr uint64_t kOldFileSize = 54 + 4 * 12;

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveFailure,
    ::testing::Values(
        FailedSave{"FolderInTheWay",
                   [](const TempDir& d) {
                       fs::create_directory(d.File("dir.bmp"));
                       return d.File("dir.bmp");
                   },
                   "同じ名前のフォルダがあります。"},
        FailedSave{"LinkToAFolder",
                   [](const TempDir& d) {
                       fs::create_directory(d.File("dir"));
                       fs::create_directory_symlink(d.File("dir"), d.File("link.bmp"));
                       return d.File("link.bmp");
                   },
                   "同じ名前のフォルダがあります。"},
        FailedSave{"MissingFolder", [](const TempDir& d) { return d.File("nowhere/old.bmp"); },
                   "ファイルまたはフォルダが見つかりません。"},
        FailedSave{"FileInThePath", [](const TempDir& d) { return d.File("old.bmp/new.bmp"); },
                   "パスの途中がフォルダではありません。"},
        FailedSave{"NameTooLong",
                   [](const TempDir& d) { return d.File(std::string(300, 'n') + ".bmp"); },
                   "ファイル名が長すぎます。"},
        FailedSave{"DiskFullAtTheFirstByte",
                   [](const TempDir& d) { return FailingDisk(d, ENOSPC, 0); }, kDiskFull},
        FailedSave{"DiskFullHalfway", [](const TempDir& d) { return FailingDisk(d, ENOSPC, 60); },
                   kDiskFull},
        FailedSave{"QuotaExceeded", [](const TempDir& d) { return FailingDisk(d, EDQUOT, 10); },
                   kDiskFull},
        FailedSave{"WriteErrorReportedAtSync",
                   [](const TempDir& d) { return FailingDisk(d, EIO, kOldFileSize); }, kIoError},
        FailedSave{"ReadOnlyFolder",
                   [](const TempDir& d) {
                       fs::create_directory(d.File("ro"));
                       WriteFileBytes(d.File("ro/old.bmp"), ReadFileBytes(d.File("old.bmp")));
                       fs::permissions(d.File("ro"), fs::perms::owner_read | fs::perms::owner_exec);
                       return d.File("ro/old.bmp");
                   }}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(SaveDocument, SavesUnderTheLongestNameTheSystemAllows) {
    TempDir dir;
    WriteFileBytes(dir.File("a.bmp"), MakeBmp24(3, 3, Pattern));
    DocOpenResult r = OpenDocument(dir.File("a.bmp"));
    ASSERT_TRUE(r.doc);
    const std::string longest = dir.File(std::string(251, 'x') + ".bmp");
    EXPECT_EQ(SaveDocument(*r.doc, longest), "");
    EXPECT_EQ(ReadFileBytes(longest), ReadFileBytes(dir.File("a.bmp")));
}

TEST(SaveDocument, WritesADeviceInPlaceInsteadOfReplacingIt) {
    TempDir dir;
    WriteFileBytes(dir.File("a.bmp"), MakeBmp24(3, 3, Pattern));
    DocOpenResult r = OpenDocument(dir.File("a.bmp"));
    ASSERT_TRUE(r.doc);
    EXPECT_EQ(SaveDocument(*r.doc, "/dev/null"), "");
    const std::string full = SaveDocument(*r.doc, "/dev/full");
    EXPECT_NE(full.find(kDiskFull), std::string::npos) << full;
    for (const char* device : {"/dev/null", "/dev/full"})
        EXPECT_TRUE(fs::is_character_file(device)) << device;
}

TEST(OpenDocument, APipeWithoutAWriterOpensEmptyWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.bmp").c_str(), 0600), 0);
    DocOpenResult r = OpenDocument(dir.File("pipe.bmp"));
    ASSERT_TRUE(r.doc);
    EXPECT_FALSE(r.doc->Picture().HasBlock());
}

} // namespace

} // namespace pelto
