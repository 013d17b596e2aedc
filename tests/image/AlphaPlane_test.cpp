#include "image/AlphaPlane.h"
#include "support/FaultControl.h"

#include <gtest/gtest.h>

#include <new>

namespace pelto {

namespace {

TEST(CAlphaPlane, StartsOpaqueAndFindsAnyPixelBelow255) {
    EXPECT_FALSE(CAlphaPlane().HasTransparency());
    // 3 x 5 is 15 bytes: one word of eight and a tail of seven.
    for (int i = 0; i < 15; ++i) {
        CAlphaPlane plane(3, 5);
        EXPECT_FALSE(plane.HasTransparency());
        plane.SetAlpha(i % 3, i / 3, 254);
        EXPECT_TRUE(plane.HasTransparency()) << i;
        EXPECT_EQ(plane.Row(0)[i], 254); // rows of exactly width bytes
    }
}

TEST(CAlphaPlane, CopiesIndependentlyAndThrowsBadAllocWithoutMemory) {
    CAlphaPlane plane(2, 2), copy;
    plane.SetAlpha(1, 1, 9);
    copy.Copy(plane);
    plane.SetAlpha(1, 1, 255);
    EXPECT_EQ(copy.GetAlpha(1, 1), 9);
    EXPECT_FALSE(copy.Copy(CAlphaPlane()).HasBlock());
    faults::FailAllocationAfter(0);
    EXPECT_THROW(CAlphaPlane(4, 4), std::bad_alloc);
    faults::FailAllocationAfter(-1);
}

} // namespace

} // namespace pelto
