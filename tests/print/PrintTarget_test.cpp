#include "print/PrintTarget.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct PrintCase {
    QSize picture;
    QSizeF printable;
    double dotsPerInch;
    QRectF expected;
};

class PrintTargetTest : public testing::TestWithParam<PrintCase> {};

TEST_P(PrintTargetTest, TopLeftAtNinetySixPixelsToTheInchShrunkToFit) {
    const PrintCase& c = GetParam();
    EXPECT_EQ(PrintTarget(c.picture, c.printable, c.dotsPerInch), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PrintTargetTest,
    testing::Values(PrintCase{{160, 112}, {800, 1100}, 96, {0, 0, 160, 112}}, // one to one
                    PrintCase{
                        {160, 112}, {9317, 12833}, 1200, {0, 0, 2000, 1400}}, // 12.5 dots each
                    PrintCase{{33, 17}, {2400, 3300}, 300, {0, 0, 103.125, 53.125}}, // odd width
                    PrintCase{{96, 48}, {500, 500}, 72, {0, 0, 72, 36}},
                    PrintCase{{1000, 200}, {800, 1100}, 96, {0, 0, 800, 160}},   // too wide
                    PrintCase{{100, 2000}, {800, 1100}, 96, {0, 0, 55, 1100}},   // too tall
                    PrintCase{{1600, 4400}, {800, 1100}, 96, {0, 0, 400, 1100}}, // both, tall wins
                    PrintCase{{800, 1100}, {800, 1100}, 96, {0, 0, 800, 1100}},  // just fits
                    PrintCase{{10, 10}, {5, 100}, 1200, {0, 0, 5, 5}},           // never stretched
                    PrintCase{{0, 0}, {800, 1100}, 96, {}}, PrintCase{{10, 10}, {0, 0}, 96, {}},
                    PrintCase{{10, 10}, {800, 1100}, 0, {}}));

} // namespace

} // namespace pelto
