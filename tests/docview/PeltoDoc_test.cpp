#include "docview/PeltoDoc.h"
#include "image/Block.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <new>

namespace {

// A grey square on white; the background is picked at the top-left pixel.
std::unique_ptr<CPeltoDoc> SquareDoc(int size = 12) {
    auto doc = std::make_unique<CPeltoDoc>();
    LoadBytes(doc->m_dib, MakeBmp24(size, size, [size](int x, int y) {
                  const bool inside = x >= size / 4 && x < size * 3 / 4 && y >= size / 4 && y < size * 3 / 4;
                  return inside ? RGB(128, 128, 128) : RGB(255, 255, 255);
              }));
    return doc;
}

Bytes Pixels(const CDIB& dib) {
    return Bytes(dib.m_pFileImage.get(), dib.m_pFileImage.get() + dib.m_nFileSize);
}

TEST(CPeltoDoc, NewDocumentIsRefusedAndStartsWithoutMaskOrSnapshot) {
    CPeltoDoc doc;
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_FALSE(doc.m_dib.HasBlock());
    EXPECT_FALSE(doc.m_pMask);
    EXPECT_FALSE(doc.m_pUndoDIB);
}

TEST(CPeltoDoc, MakeButtonWithoutMaskChangesNothingAndKeepsTheSnapshot) {
    auto doc = SquareDoc();
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    const Bytes afterFirst = Pixels(doc->m_dib);
    const CDIB* snapshot = doc->m_pUndoDIB.get();
    ASSERT_TRUE(snapshot);
    doc->MakeButton(ButtonParams{});
    EXPECT_EQ(Pixels(doc->m_dib), afterFirst);
    EXPECT_EQ(doc->m_pUndoDIB.get(), snapshot);
}

TEST(CPeltoDoc, MakeButtonSnapshotsDropsTheMaskAndUndoGoesBackOneStep) {
    auto doc = SquareDoc();
    const Bytes original = Pixels(doc->m_dib);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    EXPECT_FALSE(doc->m_pMask);
    ASSERT_TRUE(doc->CanUndo());
    EXPECT_EQ(Pixels(*doc->m_pUndoDIB), original);
    const Bytes first = Pixels(doc->m_dib);
    EXPECT_NE(first, original);

    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{90, 200, 3, 1, 1});
    EXPECT_EQ(Pixels(*doc->m_pUndoDIB), first); // one level deep
    doc->Undo();
    EXPECT_EQ(Pixels(doc->m_dib), first);
    EXPECT_FALSE(doc->CanUndo());
    doc->Undo(); // nothing left to undo
    EXPECT_EQ(Pixels(doc->m_dib), first);
}

TEST(CPeltoDoc, ZeroWidthStillReplacesTheSnapshotAndDropsTheMask) {
    auto doc = SquareDoc();
    const Bytes original = Pixels(doc->m_dib);
    doc->SelectBackground(0, 0, 100);
    doc->MakeButton(ButtonParams{0, 128, 0, 0, 0});
    EXPECT_EQ(Pixels(doc->m_dib), original);
    EXPECT_TRUE(doc->CanUndo());
    EXPECT_FALSE(doc->HasSelection());
}

TEST(CPeltoDoc, UndoKeepsANewSelection) {
    auto doc = SquareDoc();
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

class MemoryFailure : public ::testing::TestWithParam<uint64_t> {
protected:
    void TearDown() override { block::SetAllocationLimitForTesting(0); }
};

TEST_P(MemoryFailure, LeavesPictureSnapshotAndMaskAsTheyWere) {
    auto doc = SquareDoc(64);
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(ButtonParams{});
    doc->SelectBackground(0, 0, 0);
    const Bytes picture = Pixels(doc->m_dib);
    const Bytes snapshot = Pixels(*doc->m_pUndoDIB);
    const CMaskDIB* mask = doc->m_pMask.get();
    const Bytes maskBytes = Pixels(*mask);

    block::SetAllocationLimitForTesting(GetParam());
    EXPECT_THROW(doc->MakeButton(ButtonParams{45, 300, 6, 0, 0}), std::bad_alloc);
    block::SetAllocationLimitForTesting(0);

    EXPECT_EQ(Pixels(doc->m_dib), picture);
    ASSERT_TRUE(doc->m_pUndoDIB);
    EXPECT_EQ(Pixels(*doc->m_pUndoDIB), snapshot);
    EXPECT_EQ(doc->m_pMask.get(), mask);
    EXPECT_EQ(Pixels(*doc->m_pMask), maskBytes);

    doc->MakeButton(ButtonParams{45, 300, 6, 0, 0}); // works again once memory is back
    EXPECT_FALSE(doc->HasSelection());
}

// 64 x 64: the picture block is 12342 bytes, the height raster 8246, the mask 5174.
INSTANTIATE_TEST_SUITE_P(SnapshotOrHeightRaster, MemoryFailure, ::testing::Values(100u, 9000u));

} // namespace
