#include "MainFrameFixture.h"

#include "view/PeltoView.h"

#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace pelto {

TEST_F(MainFrameTest, AMaximisedWindowNamesItsDocumentOnceInTheMainTitle) {
    CChildFrame* frame = Frame().OpenDocumentFile(WritePicture("odd.bmp"));
    ASSERT_TRUE(frame);
    frame->showMaximized();
    Settle();
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - [odd.bmp]");
    frame->showNormal();
    Settle();
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - odd.bmp");
}

// A window opened over a maximized one opens maximized, the other stays whole
// behind it, and each comes back to its picture's size; the Window menu's
// cascade sizes every window to its picture at its zoom.
TEST_F(MainFrameTest, MaximizedAndCascadedWindowsKeepTheirFramesAndSizes) {
    CChildFrame* first = Frame().OpenDocumentFile(WritePicture("first.bmp"));
    ASSERT_TRUE(first);
    const QRect normal = first->geometry();
    first->showMaximized();
    Settle();
    CChildFrame* second = Frame().OpenDocumentFile(WritePicture("second.bmp", 64));
    ASSERT_TRUE(second);
    Settle();
    const QRect area = Frame().GetMdiArea()->viewport()->rect();
    EXPECT_TRUE(second->isMaximized());
    EXPECT_EQ(second->geometry(), area);
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - [second.bmp]");
    EXPECT_EQ(first->geometry(), first->isMaximized() ? area : normal);
    second->GetView()->SetZoom({2, 1}, {});
    Frame().OnWindowCascade();
    const int step = first->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, first);
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    EXPECT_EQ(second->pos(), QPoint(step, step)) << "the active window last, on top";
    for (CChildFrame* frame : {first, second}) {
        const CPeltoView& view = *frame->GetView();
        EXPECT_FALSE(frame->isMaximized()) << frame->windowTitle().toStdString();
        // As wide as the title bar needs, if that is wider.
        EXPECT_EQ(view.height(), view.sizeHint().height());
        EXPECT_EQ(view.horizontalScrollBar()->maximum() + view.verticalScrollBar()->maximum(), 0);
    }
    EXPECT_EQ(second->GetView()->sizeHint(), QSize(128, 128));
}

// The main window comes back as it closed, but never where no screen shows it.
TEST_F(MainFrameTest, TheMainWindowComesBackWithItsSizePlaceAndState) {
    const auto reopen = [&] {
        Frame().close();
        m_app.reset();
        m_app = Start();
        Settle();
    };
    const QRect placed(40, 50, 700, 500);
    Frame().setGeometry(placed);
    Settle();
    reopen();
    EXPECT_EQ(Frame().geometry(), placed);
    Frame().showMaximized();
    Settle();
    reopen();
    EXPECT_TRUE(Frame().isMaximized());
    Frame().showNormal();
    Frame().setGeometry(QRect(9000, 7000, 700, 500));
    Settle();
    reopen();
    EXPECT_FALSE(Frame().isMaximized());
    EXPECT_TRUE(Frame().screen()->availableGeometry().intersects(Frame().geometry()))
        << Frame().geometry().x() << "," << Frame().geometry().y();
    // A place that no longer fits, as after closing at a smaller scale, comes
    // back whole on the screen.
    const QRect screen = Frame().screen()->availableGeometry();
    for (const QRect& place : {QRect(40, screen.bottom() - 200, 700, 500),
                               QRect(screen.topLeft(), screen.size() * 3 / 2)}) {
        Frame().setGeometry(place);
        Settle();
        reopen();
        EXPECT_TRUE(screen.contains(Frame().frameGeometry()))
            << Frame().frameGeometry().y() << " " << Frame().frameGeometry().height();
    }
}

// However small the picture, a document window keeps room for its whole title
// bar: the title, the icon and the three buttons.
TEST_F(MainFrameTest, ATinyPictureKeepsItsWindowsTitleBarUsable) {
    for (const char* name : {"empty.bmp", "one-pixel-with-a-long-name.bmp"}) {
        const QString path = std::string(name) == "empty.bmp"
                                 ? WriteBytes(name, Bytes{})
                                 : WriteBytes(name, MakeBmp24(1, 1, RGB(1, 2, 3)));
        CChildFrame* frame = Frame().OpenDocumentFile(path);
        ASSERT_TRUE(frame);
        Settle();
        const QFontMetrics metrics(frame->font());
        EXPECT_GT(frame->width(),
                  metrics.horizontalAdvance(frame->windowTitle()) +
                      3 * frame->style()->pixelMetric(QStyle::PM_TitleBarButtonSize))
            << name;
        EXPECT_GE(frame->height(), frame->style()->pixelMetric(QStyle::PM_TitleBarHeight)) << name;
        EXPECT_EQ(frame->size(), frame->size().expandedTo(frame->minimumSize())) << name;
    }
}

} // namespace pelto
