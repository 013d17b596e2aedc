#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"
#include "view/ViewRendering.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(ViewRendering, RendersOnlyTheAskedPartAndPadsBeyondThePicture) {
    CPeltoDoc doc;
    LoadPicture(doc, MakeBmp24(10, 10, [](int x, int y) { return RGB(x * 20, y * 20, 5); }));
    const QImage part = RenderPicture(doc, QRect(8, 3, 4, 2), qRgb(1, 2, 3));
    ASSERT_EQ(part.size(), QSize(4, 2));
    EXPECT_EQ(part.pixel(0, 0) & 0xFFFFFF, qRgb(160, 60, 5) & 0xFFFFFF);
    EXPECT_EQ(part.pixel(1, 1) & 0xFFFFFF, qRgb(180, 80, 5) & 0xFFFFFF);
    EXPECT_EQ(part.pixel(2, 0) & 0xFFFFFF, qRgb(1, 2, 3) & 0xFFFFFF);
}

TEST(ViewRendering, EmptyPictureDrawsOnlyTheBackground) {
    CPeltoDoc empty;
    const QImage part = RenderPicture(empty, QRect(0, 0, 3, 3), qRgb(9, 8, 7));
    ASSERT_EQ(part.size(), QSize(3, 3));
    EXPECT_EQ(part.pixel(1, 1) & 0xFFFFFF, qRgb(9, 8, 7) & 0xFFFFFF);
}

} // namespace

} // namespace pelto
