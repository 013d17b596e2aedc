#include "document/DocumentFile.h"
#include "document/PeltoDoc.h"
#include "image/Block.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <new>

namespace pelto {

namespace {

TEST(CPeltoDoc, NewDocumentIsRefusedAndStartsWithoutMaskOrSnapshot) {
    CPeltoDoc doc;
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_FALSE(doc.Picture().HasBlock());
    EXPECT_FALSE(doc.HasSelection());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
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

// Each allocation MakeButton makes fails in turn (the step, the height raster, ...).
TEST_F(MemoryFailure, MakeButtonLeavesPictureHistoryAndMaskAsTheyWere) {
    auto doc = SquareDoc(64);
    for (int button = 0; button < 2; ++button) {
        doc->SelectBackground(0, 0, 0);
        doc->MakeButton(ButtonParams{});
    }
    doc->Undo(); // one step to undo, one to redo, and the selection back
    const Bytes picture = BlockBytes(doc->Picture());
    const Bytes before = BlockBytes(doc->History().UndoStep()->Picture());
    const CMaskDIB* mask = doc->Selection();
    const Bytes maskBytes = BlockBytes(*mask);

    int failed = 0;
    while (FailsWithAllocation(failed, [&] {
        doc->MakeButton(ButtonParams{45, 300, 6, BevelShape::Cut, BevelOutline::Inner});
    })) {
        ++failed;
        EXPECT_EQ(BlockBytes(doc->Picture()), picture) << failed;
        ASSERT_EQ(doc->History().UndoCount(), 1u) << failed;
        EXPECT_EQ(doc->History().RedoCount(), 1u) << failed;
        EXPECT_EQ(BlockBytes(doc->History().UndoStep()->Picture()), before) << failed;
        EXPECT_EQ(doc->Selection(), mask) << failed;
        EXPECT_EQ(BlockBytes(*doc->Selection()), maskBytes) << failed;
    }
    EXPECT_GE(failed, 2);              // at least the step and the height raster
    EXPECT_FALSE(doc->HasSelection()); // and it works once memory is back
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_EQ(BlockBytes(doc->History().UndoStep()->Picture()), picture);
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

TEST_F(MemoryFailure, UndoWithoutRoomForTheSelectionKeepsPictureAndHistory) {
    auto doc = SquareDoc(16);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    const Bytes bevelled = BlockBytes(doc->Picture());
    EXPECT_TRUE(FailsWithAllocation(0, [&] { doc->Undo(); }));
    EXPECT_EQ(BlockBytes(doc->Picture()), bevelled);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->HasSelection());
    EXPECT_TRUE(doc->CanUndo());
    EXPECT_FALSE(doc->CanRedo());
}

// A script of steps, and what the document shows after each one: which
// picture (0 as opened, n after the n-th button made), which selection (none,
// or the one pick a, b, ... left), whether it is modified, and how many steps
// it can undo and redo.
struct HistoryCase {
    const char* name;
    // p: pick the background, q: pick the square, b: make a button,
    // u: undo, r: redo, s: save.
    std::string steps, picture, selection, modified, undos, redos;
};

class HistoryScript : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(HistoryScript, EachStepShowsThePictureAndSelectionOfItsPoint) {
    const HistoryCase& c = GetParam();
    TempDir dir;
    auto doc = SquareDoc(16);
    std::vector<Bytes> pictures{BlockBytes(doc->Picture())};
    // Each selection's marks and the picks that made it, since it was last empty.
    std::map<char, std::pair<Bytes, std::vector<BackgroundPick>>> picks;
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const char step = c.steps[i];
        if (step == 'p' || step == 'q') {
            // A pick adds to the selection shown, or starts one.
            std::vector<BackgroundPick> made = doc->HasSelection()
                                                   ? picks.at(c.selection[i - 1]).second
                                                   : std::vector<BackgroundPick>{};
            made.push_back({step == 'p' ? 0 : 8, step == 'p' ? 0 : 8, 10});
            doc->SelectBackground(made.back());
            picks[char('a' + picks.size())] = {BlockBytes(*doc->Selection()), made};
        } else if (step == 'b') {
            const bool makes = doc->HasSelection();
            const int n = int(pictures.size());
            doc->MakeButton({45 * n, 128, 2 + n, BevelShape::Cut, BevelOutline::Inner});
            if (makes) pictures.push_back(BlockBytes(doc->Picture()));
        } else if (step == 'u') {
            doc->Undo();
        } else if (step == 'r') {
            doc->Redo();
        } else {
            ASSERT_EQ(SaveDocument(*doc, dir.File("saved.bmp")), "");
        }
        const std::string at = c.steps.substr(0, i + 1);
        EXPECT_EQ(BlockBytes(doc->Picture()), pictures.at(size_t(c.picture[i] - '0'))) << at;
        EXPECT_EQ(doc->HasSelection(), c.selection[i] != '-') << at;
        EXPECT_EQ(doc->SelectionPicks().has_value(), doc->HasSelection()) << at;
        if (c.selection[i] != '-' && doc->HasSelection()) {
            EXPECT_EQ(BlockBytes(*doc->Selection()), picks.at(c.selection[i]).first) << at;
            EXPECT_EQ(doc->SelectionPicks(), picks.at(c.selection[i]).second) << at;
        }
        EXPECT_EQ(doc->IsModified(), c.modified[i] == 'M') << at;
        EXPECT_EQ(doc->History().UndoCount(), size_t(c.undos[i] - '0')) << at;
        EXPECT_EQ(doc->History().RedoCount(), size_t(c.redos[i] - '0')) << at;
        EXPECT_EQ(doc->CanUndo(), c.undos[i] != '0') << at;
        EXPECT_EQ(doc->CanRedo(), c.redos[i] != '0') << at;
    }
    // Every button made a picture of its own.
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << ' ' << j;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, HistoryScript,
    ::testing::Values(HistoryCase{"ButtonUndoRedo", "pbur", "0101", "a-a-", "-M-M", "0101", "0010"},
                      HistoryCase{"ThreeButtonsBackAndForth", "pbqbpbuuurrr", "011223210123",
                                  "a-b-c-cba---", "-MMMMMMM-MMM", "011223210123", "000000123210"},
                      HistoryCase{"ANewButtonDropsTheRedoSteps", "pbpbuupbr", "011210033",
                                  "a-b-bac--", "-MMMM--MM", "011210011", "000012200"},
                      HistoryCase{"UndoBringsBackTheButtonsSelectionNotALaterPick", "pbquqru",
                                  "0110010", "a-bac-a", "-MM--M-", "0110010", "0001101"},
                      HistoryCase{"ButtonWithoutSelectionAndNothingLeftToUndo", "bpbbuu", "001100",
                                  "-a--aa", "--MM--", "001100", "000011"},
                      HistoryCase{"UndoBackToTheSavedPicture", "pbspbuu", "0111210", "a--b-ba",
                                  "-M--M-M", "0111210", "0000012"},
                      HistoryCase{"RedoPastTheSavedPicture", "pbpbusrur", "011211212", "a-b-bb-b-",
                                  "-MMMM-M-M", "011211212", "000011010"},
                      HistoryCase{"TheSavedPictureDroppedWithTheRedoSteps", "pbsubu", "011020",
                                  "a--a-a", "-M-MMM", "011010", "000101"}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
