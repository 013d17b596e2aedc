#include "DialogTestSupport.h"
#include "dialogs/SpinArrows.h"

#include <QSignalSpy>
#include <QToolButton>

namespace pelto {

namespace {

struct SpinWindow : ::testing::Test {
    QWidget window;
    CSpinArrows* spin = new CSpinArrows(&window);
    QSignalSpy deltas{spin, &CSpinArrows::deltaPos};

    void SetUp() override {
        spin->setGeometry(10, 10, 14, 20);
        ASSERT_TRUE(ShowActive(&window));
    }
    QList<int> Deltas() const {
        QList<int> values;
        for (const QList<QVariant>& signal : deltas)
            values.append(signal.at(0).toInt());
        return values;
    }
};

// Through the window, so that the mouse state is the one a user's press leaves.
TEST_F(SpinWindow, HoldingAnArrowRepeatsUntilReleased) {
    auto* down = Child<QToolButton>(spin, "downArrow");
    const QPoint at = down->mapTo(&window, down->rect().center());
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return deltas.count() >= 4; }, 5000));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, at);
    const qsizetype released = deltas.count();
    QTest::qWait(400);
    EXPECT_EQ(deltas.count(), released);
    EXPECT_EQ(Deltas(), QList<int>(released, 1));
}

TEST_F(SpinWindow, RepeatingStopsWhenTheReleaseWentElsewhere) {
    auto* up = Child<QToolButton>(spin, "upArrow");
    const QPoint at = up->mapTo(&window, up->rect().center());
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
    QWidget other; // a window that opened meanwhile and took the release
    ASSERT_TRUE(ShowActive(&other));
    QTest::mouseRelease(other.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::qWait(800);
    EXPECT_EQ(Deltas(), QList<int>{-1});
    EXPECT_FALSE(up->isDown());
}

} // namespace

} // namespace pelto
