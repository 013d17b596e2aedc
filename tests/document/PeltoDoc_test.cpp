#include "document/DocumentFile.h"
#include "document/PeltoDoc.h"
#include "image/Block.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace pelto {

namespace {

TEST(CPeltoDoc, NewDocumentIsRefusedAndStartsWithoutMaskOrSnapshot) {
    CPeltoDoc doc;
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_FALSE(doc.Picture().HasBlock());
    EXPECT_FALSE(doc.HasSelection());
    EXPECT_FALSE(doc.CanUndo());
}

TEST(CPeltoDoc, MakeButtonWithoutMaskChangesNothingAndKeepsTheSnapshot) {
    auto doc = SquareDoc(12);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    const Bytes afterFirst = BlockBytes(doc->Picture());
    const CDIB* snapshot = doc->UndoStep().Picture();
    ASSERT_TRUE(snapshot);
    doc->MakeButton(ButtonParams{});
    EXPECT_EQ(BlockBytes(doc->Picture()), afterFirst);
    EXPECT_EQ(doc->UndoStep().Picture(), snapshot);
}

TEST(CPeltoDoc, MakeButtonSnapshotsDropsTheMaskAndUndoGoesBackOneStep) {
    auto doc = SquareDoc(12);
    const Bytes original = BlockBytes(doc->Picture());
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    EXPECT_FALSE(doc->HasSelection());
    ASSERT_TRUE(doc->CanUndo());
    EXPECT_EQ(BlockBytes(*doc->UndoStep().Picture()), original);
    const Bytes first = BlockBytes(doc->Picture());
    EXPECT_NE(first, original);

    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{90, 200, 3, BevelShape::Round, BevelOutline::Outer});
    EXPECT_EQ(BlockBytes(*doc->UndoStep().Picture()), first); // one level deep
    doc->Undo();
    EXPECT_EQ(BlockBytes(doc->Picture()), first);
    EXPECT_FALSE(doc->CanUndo());
    doc->Undo(); // nothing left to undo
    EXPECT_EQ(BlockBytes(doc->Picture()), first);
}

TEST(CPeltoDoc, ZeroWidthStillReplacesTheSnapshotAndDropsTheMask) {
    auto doc = SquareDoc(12);
    const Bytes original = BlockBytes(doc->Picture());
    doc->SelectBackground(0, 0, 100);
    doc->MakeButton(ButtonParams{0, 128, 0, BevelShape::Cut, BevelOutline::Inner});
    EXPECT_EQ(BlockBytes(doc->Picture()), original);
    EXPECT_TRUE(doc->CanUndo());
    EXPECT_FALSE(doc->HasSelection());
}

TEST(CPeltoDoc, UndoKeepsANewSelection) {
    auto doc = SquareDoc(12);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    doc->SelectBackground(0, 0, 0);
    doc->Undo();
    EXPECT_TRUE(doc->HasSelection());
    doc->ClearSelection();
    EXPECT_FALSE(doc->HasSelection());
    doc->ClearSelection();
    EXPECT_FALSE(doc->HasSelection());
}

class MemoryFailure : public ::testing::Test {
protected:
    void TearDown() override { faults::FailAllocationAfter(-1); }

    // Runs action with allocation number `successes` (from 0) failing; true when it threw.
    static bool FailsWithAllocation(int successes, const std::function<void()>& action) {
        faults::FailAllocationAfter(successes);
        bool threw = false;
        try {
            action();
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        faults::FailAllocationAfter(-1);
        return threw;
    }
};

// Each allocation MakeButton makes fails in turn (the snapshot, the height raster, ...).
TEST_F(MemoryFailure, MakeButtonLeavesPictureSnapshotAndMaskAsTheyWere) {
    auto doc = SquareDoc(64);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    doc->SelectBackground(0, 0, 0);
    const Bytes picture = BlockBytes(doc->Picture());
    const Bytes snapshot = BlockBytes(*doc->UndoStep().Picture());
    const CMaskDIB* mask = doc->Selection();
    const Bytes maskBytes = BlockBytes(*mask);

    int failed = 0;
    while (FailsWithAllocation(failed, [&] {
        doc->MakeButton(ButtonParams{45, 300, 6, BevelShape::Cut, BevelOutline::Inner});
    })) {
        ++failed;
        EXPECT_EQ(BlockBytes(doc->Picture()), picture) << failed;
        ASSERT_TRUE(doc->CanUndo());
        EXPECT_EQ(BlockBytes(*doc->UndoStep().Picture()), snapshot) << failed;
        EXPECT_EQ(doc->Selection(), mask) << failed;
        EXPECT_EQ(BlockBytes(*doc->Selection()), maskBytes) << failed;
    }
    EXPECT_GE(failed, 2);              // at least the snapshot and the height raster
    EXPECT_FALSE(doc->HasSelection()); // and it works once memory is back
    EXPECT_EQ(BlockBytes(*doc->UndoStep().Picture()), picture);
}

TEST_F(MemoryFailure, FirstPickWithoutRoomForTheMaskSelectsNothing) {
    auto doc = SquareDoc(16);
    const Bytes picture = BlockBytes(doc->Picture());
    EXPECT_TRUE(FailsWithAllocation(0, [&] { doc->SelectBackground(0, 0, 0); }));
    EXPECT_FALSE(doc->HasSelection());
    EXPECT_EQ(BlockBytes(doc->Picture()), picture);
}

// A batch document makes the same button without ever holding a snapshot:
// its first allocation is already the height raster.
TEST_F(MemoryFailure, ABatchDocumentMakesTheSameButtonWithoutASnapshot) {
    auto kept = SquareDoc(64);
    CPeltoDoc batch(UndoSnapshot::None);
    LoadPicture(batch, BlockBytes(kept->Picture()));
    const Bytes original = BlockBytes(batch.Picture());
    for (CPeltoDoc* doc : {kept.get(), &batch})
        doc->SelectBackground(0, 0, 0);
    EXPECT_TRUE(FailsWithAllocation(0, [&] {
        batch.MakeButton(ButtonParams{30, 200, 7, BevelShape::Round, BevelOutline::Inner});
    }));
    EXPECT_EQ(BlockBytes(batch.Picture()), original);
    EXPECT_TRUE(batch.HasSelection());

    for (CPeltoDoc* doc : {kept.get(), &batch})
        doc->MakeButton(ButtonParams{30, 200, 7, BevelShape::Round, BevelOutline::Inner});
    EXPECT_EQ(BlockBytes(batch.Picture()), BlockBytes(kept->Picture()));
    EXPECT_NE(BlockBytes(batch.Picture()), original);
    EXPECT_FALSE(batch.CanUndo());
    EXPECT_TRUE(kept->CanUndo());
}

TEST_F(MemoryFailure, UndoWithoutRoomKeepsPictureAndSnapshot) {
    auto doc = SquareDoc(16);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    const Bytes bevelled = BlockBytes(doc->Picture());
    EXPECT_TRUE(FailsWithAllocation(0, [&] { doc->Undo(); }));
    EXPECT_EQ(BlockBytes(doc->Picture()), bevelled);
    EXPECT_TRUE(doc->CanUndo());
}

// A script of steps, and whether the document is modified after each one.
struct ModifiedCase {
    const char* name;
    std::string steps; // b: pick and make a button, u: undo, s: save
    std::string modified;
};

class ModifiedState : public ::testing::TestWithParam<ModifiedCase> {};

TEST_P(ModifiedState, FollowsThePictureAgainstTheLastSave) {
    TempDir dir;
    auto doc = SquareDoc(16);
    EXPECT_FALSE(doc->IsModified());
    std::string seen;
    for (const char step : GetParam().steps) {
        if (step == 'b') {
            doc->SelectBackground(0, 0, 10);
            doc->MakeButton({0, 128, 3, BevelShape::Cut, BevelOutline::Inner});
        } else if (step == 'u') {
            doc->Undo();
        } else {
            ASSERT_EQ(SaveDocument(*doc, dir.File("saved.bmp")), "");
        }
        seen += doc->IsModified() ? 'M' : '-';
    }
    EXPECT_EQ(seen, GetParam().modified);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ModifiedState,
                         ::testing::Values(ModifiedCase{"ButtonThenUndo", "bu", "M-"},
                                           ModifiedCase{"ButtonSaved", "bs", "M-"},
                                           ModifiedCase{"UndoPastTheSave", "bsu", "M-M"},
                                           ModifiedCase{"SecondButtonUndone", "bsbu", "M-M-"},
                                           ModifiedCase{"UndoTwice", "buu", "M--"}),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
