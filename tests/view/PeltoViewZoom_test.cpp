#include "ViewTestDocs.h"
#include "support/ModalControl.h"
#include "view/ParamDialogs.h"
#include "view/PeltoView.h"
#include "view/ViewZoom.h"

#include <QCursor>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace pelto {

namespace {

class ViewZoomTest : public testing::Test {
protected:
    void SetUp() override {
        modal::AnswerParamDialogs([](int& tolerance, bool&) { return tolerance = 0, true; },
                                  [](ButtonParams&) { return true; });
    }
    void TearDown() override { modal::AnswerParamDialogs({}, {}); }

    static void Show(CPeltoView& view) {
        view.resize(120, 100);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.OnInitialUpdate();
    }
    static void Wheel(CPeltoView& view, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &wheel);
    }
};

struct ZoomedPick {
    CZoom zoom;
    QPoint scroll, click;
};

class PickingAtAZoom : public ViewZoomTest, public testing::WithParamInterface<ZoomedPick> {};

TEST_P(PickingAtAZoom, SelectsThePixelUnderTheHotSpotAfterScrolling) {
    const ZoomedPick& c = GetParam();
    auto doc = UniqueColourDoc(600, 500);
    CPeltoView view(doc);
    Show(view);
    view.SetZoom(c.zoom, {});
    view.horizontalScrollBar()->setValue(c.scroll.x());
    view.verticalScrollBar()->setValue(c.scroll.y());
    ASSERT_EQ(view.GetScrollPosition(), c.scroll);

    view.OnEditBgcolor();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, c.click);
    const QPoint screen = c.click + c.scroll;
    const QPoint expected(int(std::floor(screen.x() * double(c.zoom.den) / c.zoom.num)),
                          int(std::floor(screen.y() * double(c.zoom.den) / c.zoom.num)));
    EXPECT_EQ(OnlySelectedPixel(*doc), expected);
}

INSTANTIATE_TEST_SUITE_P(Zooms, PickingAtAZoom,
                         testing::Values(ZoomedPick{{1, 4}, {20, 15}, {37, 41}},
                                         ZoomedPick{{1, 4}, {0, 0}, {3, 2}},
                                         ZoomedPick{{1, 1}, {300, 200}, {5, 6}},
                                         ZoomedPick{{3, 1}, {905, 611}, {44, 58}},
                                         ZoomedPick{{3, 1}, {1000, 800}, {1, 1}},
                                         ZoomedPick{{2, 3}, {77, 33}, {101, 77}}));

TEST_F(ViewZoomTest, ScrollRangeFollowsTheZoomAndEachViewKeepsItsOwn) {
    auto doc = UniqueColourDoc(600, 500);
    CPeltoView first(doc), second(doc);
    Show(first);
    Show(second);
    QSignalSpy changed(&first, &CPeltoView::zoomChanged);
    first.OnViewZoomIn();
    first.OnViewZoomIn();
    EXPECT_EQ(ZoomText(first.GetZoom()), "200 %");
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(first.horizontalScrollBar()->maximum(), 1200 - first.viewport()->width());
    EXPECT_EQ(ZoomText(second.GetZoom()), "100 %");
    EXPECT_EQ(second.horizontalScrollBar()->maximum(), 600 - second.viewport()->width());

    first.OnViewZoomFit();
    EXPECT_EQ(first.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(first.verticalScrollBar()->maximum(), 0);
    first.OnViewZoomActual();
    EXPECT_TRUE(first.GetZoom().IsActualSize());
}

TEST_F(ViewZoomTest, ControlAndTheWheelZoomAroundThePointer) {
    auto doc = UniqueColourDoc(600, 500);
    CPeltoView view(doc);
    Show(view);
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(80);
    const QPoint pointer(30, 40);
    const QPoint before = pointer + view.GetScrollPosition();
    Wheel(view, pointer, 120, Qt::ControlModifier);
    ASSERT_EQ(ZoomText(view.GetZoom()), "150 %");
    const QPoint screen = pointer + view.GetScrollPosition();
    EXPECT_NEAR(screen.x() / 1.5, before.x(), 1);
    EXPECT_NEAR(screen.y() / 1.5, before.y(), 1);

    Wheel(view, pointer, -120, Qt::ControlModifier);
    Wheel(view, pointer, -120, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(view.GetZoom()), "67 %");
    // Without the key the wheel scrolls and the zoom stays.
    const int scrolled = view.verticalScrollBar()->value();
    Wheel(view, pointer, -120, Qt::NoModifier);
    EXPECT_EQ(ZoomText(view.GetZoom()), "67 %");
    EXPECT_GT(view.verticalScrollBar()->value(), scrolled);
}

struct KeyPick {
    const char* name;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys; // the last one ends picking
    QPoint moved;                                            // from where a pick starts
    bool picks;
    CZoom zoom = {3, 1};
};

class PickingFromTheKeyboard : public ViewZoomTest, public testing::WithParamInterface<KeyPick> {};

// The arrow keys move the crosshair a picture pixel (Shift: ten) at any zoom,
// below 100 % on to the next one shown, and the crosshair marks the pick.
TEST_P(PickingFromTheKeyboard, MovesAPixelOrTenAndPicksOrCancels) {
    const KeyPick& c = GetParam();
    auto doc = UniqueColourDoc(600, 500);
    CPeltoView view(doc);
    Show(view);
    view.SetZoom(c.zoom, {});
    // Inside the picture, wherever earlier tests left the pointer.
    QCursor::setPos(view.viewport()->mapToGlobal(view.viewport()->rect().center()));
    view.OnEditBgcolor();
    QTest::keyClick(&view, Qt::Key_Return); // where the keys start
    const QPoint start = OnlySelectedPixel(*doc);
    ASSERT_NE(start, QPoint(-1, -1));
    doc->ClearSelection();

    view.OnEditBgcolor();
    for (const auto& [key, modifiers] : c.keys)
        QTest::keyClick(&view, Qt::Key(key), modifiers);
    EXPECT_FALSE(view.m_bPicking);
    EXPECT_EQ(OnlySelectedPixel(*doc), c.picks ? start + c.moved : QPoint(-1, -1));
    const QPointF pointer = view.viewport()->mapFromGlobal(QPointF(QCursor::pos()));
    EXPECT_EQ(PickedImagePoint(pointer, view.viewport()->size(), view.ScreenScroll(),
                               QSize(600, 500), c.zoom, view.Ratio()),
              start + c.moved);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PickingFromTheKeyboard,
    testing::Values(
        KeyPick{"RightTwiceThenReturn",
                {{Qt::Key_Right, {}}, {Qt::Key_Right, {}}, {Qt::Key_Return, {}}},
                {2, 0},
                true},
        KeyPick{"ShiftDownThenSpace",
                {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Space, {}}},
                {0, 10},
                true},
        KeyPick{"LeftUpThenEscape",
                {{Qt::Key_Left, {}}, {Qt::Key_Up, {}}, {Qt::Key_Escape, {}}},
                {-1, -1},
                false},
        KeyPick{"RightLeftLeftAtAThird",
                {{Qt::Key_Right, {}}, {Qt::Key_Left, {}}, {Qt::Key_Left, {}}, {Qt::Key_Return, {}}},
                {-3, 0},
                true,
                {1, 3}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(ViewZoomTest, ShiftAndTheWheelScrollSideways) {
    auto doc = UniqueColourDoc(600, 500);
    CPeltoView view(doc);
    Show(view);
    Wheel(view, {30, 30}, -120, Qt::ShiftModifier);
    EXPECT_GT(view.GetScrollPosition().x(), 0);
    EXPECT_EQ(view.GetScrollPosition().y(), 0);
}

} // namespace

} // namespace pelto
