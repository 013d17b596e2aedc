// The part of a pixel behind straight edges: one edge placed for a part is
// found behind it again, and edges taken together cover their union, the
// same in whatever order they come.

#include "engine/EdgeCover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace pelto {

namespace {

TEST(EdgeCover, FindsThePartAnEdgeWasPlacedFor) {
    for (const auto& [dx, dy] :
         {std::pair{1, 0}, std::pair{0, -3}, std::pair{1, 1}, std::pair{-2, 1}, std::pair{5, -7}})
        for (int alpha = 0; alpha <= 255; ++alpha) {
            const EdgeDirection n(dx, dy);
            const double a = alpha / 255.0;
            ASSERT_NEAR(Cover(EdgeAt(a, n), n), a, 1e-12) << dx << "," << dy << " " << alpha;
        }
}

TEST(EdgeCover, CoversTheUnionOfItsEdges) {
    // Edges across the axes cut boxes, whose union is known exactly.
    const EdgeDirection left(-1, 0), right(1, 0), down(0, -1);
    CEdgeUnion one;
    one.Add(0.1, right);
    EXPECT_NEAR(one.Covered(), 0.6, 1e-12);
    one.Add(-0.3, down);
    EXPECT_NEAR(one.Covered(), 1 - 0.4 * 0.8, 1e-12);
    one.Add(-0.05, left);
    EXPECT_TRUE(one.Full());
    EXPECT_EQ(one.Covered(), 1);

    // Slanted ones in every order: the same part, and never less than one alone.
    std::vector<std::pair<EdgeDirection, double>> edges = {
        {EdgeDirection(3, 1), -0.1}, {EdgeDirection(-1, 2), 0.05}, {EdgeDirection(1, -1), -0.3}};
    std::sort(edges.begin(), edges.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    double first = -1;
    do {
        CEdgeUnion some;
        for (const auto& [n, s] : edges) {
            some.Add(s, n);
            EXPECT_GE(some.Covered(), Cover(s, n) - 1e-12);
        }
        if (first < 0) first = some.Covered();
        EXPECT_NEAR(some.Covered(), first, 1e-12);
    } while (std::next_permutation(edges.begin(), edges.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    }));
    EXPECT_LT(first, 1);
}

} // namespace

} // namespace pelto
