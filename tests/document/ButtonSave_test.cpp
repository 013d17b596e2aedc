// A button made and saved in one go: the bytes of MakeButton then
// SaveDocument, onto every kind of target, and the careful save's guarantees
// when the disk or the memory fails while the rows go out.

#include "document/ButtonSave.h"
#include "support/FaultControl.h"
#include "support/SquareDoc.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace pelto {

namespace fs = std::filesystem;

namespace {

// Tall enough for several bands and row runs on each thread; the larger
// one's file goes past the system's cache, by the writer's thread.
constexpr int kPictureSides[] = {300, 900};
const ButtonParams kParams{135, 128, 30, BevelShape::Round, BevelOutline::Inner};

std::shared_ptr<CPeltoDoc> PickedSquare(int side) {
    auto doc = SquareDoc(side);
    doc->SelectBackground(0, 0, 0);
    return doc;
}

Bytes ExpectedButton(int side) {
    auto doc = PickedSquare(side);
    doc->MakeButton(kParams, 1);
    return Bytes(doc->Picture().m_pFileImage.get(),
                 doc->Picture().m_pFileImage.get() + doc->Picture().m_nFileSize);
}

struct Target {
    const char* name;
    // Makes the target in the folder; returns its name there.
    std::string (*prepare)(const TempDir& dir);
};

const Target kTargets[] = {
    {"NewFile", [](const TempDir&) { return std::string("out.bmp"); }},
    {"ReplacedFile",
     [](const TempDir& d) {
         WriteFileBytes(d.File("out.bmp"), MakeBmp24(3, 3, RGB(1, 2, 3)));
         return std::string("out.bmp");
     }},
    // A second link makes the save rewrite the file in place.
    {"RewrittenInPlace",
     [](const TempDir& d) {
         WriteFileBytes(d.File("out.bmp"), MakeBmp24(3, 3, RGB(1, 2, 3)));
         fs::create_hard_link(d.File("out.bmp"), d.File("other.bmp"));
         return std::string("out.bmp");
     }},
};

// A target made in a folder, with what stood there before the save.
struct Prepared {
    std::string path;
    bool existed;
    Bytes old;
    std::vector<std::string> before;
};

Prepared Prepare(const TempDir& dir, const Target& target) {
    const std::string path = dir.File(target.prepare(dir));
    const bool existed = fs::exists(path);
    return {path, existed, existed ? ReadFileBytes(path) : Bytes(), TreeListing(dir.Path())};
}

class ButtonSaveTo : public ::testing::TestWithParam<std::tuple<Target, int>> {
protected:
    const Target& GetTarget() const { return std::get<0>(GetParam()); }
    int Side() const { return std::get<1>(GetParam()); }

    void TearDown() override {
        faults::FailWritesAfter(0);
        faults::FailAllocationAfter(-1);
    }
};

TEST_P(ButtonSaveTo, WritesTheBytesOfMakeButtonThenSave) {
    TempDir dir;
    const std::string name = GetTarget().prepare(dir);
    const Bytes expected = ExpectedButton(Side());
    for (unsigned threads : {1u, 2u, 3u}) {
        auto doc = PickedSquare(Side());
        EXPECT_EQ(MakeButtonAndSave(*doc, kParams, threads, dir.File(name)), "");
        EXPECT_EQ(ReadFileBytes(dir.File(name)), expected) << threads;
        EXPECT_FALSE(doc->IsModified());
        if (fs::exists(dir.File("other.bmp"))) {
            EXPECT_EQ(ReadFileBytes(dir.File("other.bmp")), expected); // still linked
        }
    }
}

// Whether the disk fails at the first row, between runs of rows, at the
// header written last or at the sync, the old file stays and nothing is left.
TEST_P(ButtonSaveTo, AFailingDiskLeavesTheOldFile) {
    const uint64_t fileSize = ExpectedButton(Side()).size();
    for (const uint64_t budget :
         {uint64_t(0), uint64_t(54), uint64_t(200000), fileSize - 54, fileSize}) {
        TempDir dir;
        const auto [target, existed, old, before] = Prepare(dir, GetTarget());
        auto doc = PickedSquare(Side());
        faults::FailWritesAfter(ENOSPC, budget);
        const std::string message = MakeButtonAndSave(*doc, kParams, 2, target);
        faults::FailWritesAfter(0);
        EXPECT_NE(message.find(target), std::string::npos) << budget << ": " << message;
        // A disk that stays full cannot take the old content back in place
        // either: it is then left, and named, beside it.
        const std::string backup = target + ".pelto-backup";
        std::vector<std::string> expected = before;
        if (fs::exists(backup)) {
            EXPECT_NE(message.find(backup), std::string::npos) << budget << ": " << message;
            EXPECT_EQ(ReadFileBytes(backup), old) << budget;
            expected.push_back(backup);
            std::sort(expected.begin(), expected.end());
        } else if (existed) {
            EXPECT_EQ(ReadFileBytes(target), old) << budget;
        }
        EXPECT_EQ(TreeListing(dir.Path()), expected) << budget;
    }
}

TEST_P(ButtonSaveTo, MemoryRunningOutLeavesTheOldFileAndThrows) {
    TempDir dir;
    const auto [target, existed, old, before] = Prepare(dir, GetTarget());
    auto doc = PickedSquare(Side());
    // The button's blocks (its undo step, its heights) are refused.
    faults::LimitBlockSize(uint64_t(Side()) * Side());
    EXPECT_THROW(MakeButtonAndSave(*doc, kParams, 2, target), std::bad_alloc);
    faults::LimitBlockSize(0);
    if (existed) {
        EXPECT_EQ(ReadFileBytes(target), old);
    }
    EXPECT_EQ(TreeListing(dir.Path()), before);
    EXPECT_TRUE(doc->HasSelection()); // the document as it was
}

INSTANTIATE_TEST_SUITE_P(Targets, ButtonSaveTo,
                         ::testing::Combine(::testing::ValuesIn(kTargets),
                                            ::testing::ValuesIn(kPictureSides)),
                         [](const auto& c) {
                             return std::string(std::get<0>(c.param).name) + "_" +
                                    std::to_string(std::get<1>(c.param));
                         });

// A FIFO takes the rows in order, written whole once the button is made.
TEST(ButtonSave, APipeTakesTheWholeFile) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Bytes read;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        read.assign(std::istreambuf_iterator<char>(in), {});
    });
    auto doc = PickedSquare(kPictureSides[0]);
    // The reader may not have opened its end yet: a FIFO nobody reads fails.
    std::string message;
    for (int attempt = 0; attempt < 200; ++attempt) {
        message = MakeButtonAndSave(*doc, kParams, 2, fifo);
        if (message.empty() || !doc->HasSelection()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    reader.join();
    EXPECT_EQ(message, "");
    EXPECT_EQ(read, ExpectedButton(kPictureSides[0]));
}

} // namespace

} // namespace pelto
