#include "ViewTestDocs.h"
#include "dialogs/MessageBox.h"
#include "document/DocMessages.h"
#include "document/PeltoDoc.h"
#include "engine/BackgroundSelection.h"
#include "image/Block.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/ModalControl.h"
#include "support/SquareDoc.h"
#include "view/ParamDialogs.h"
#include "view/PeltoView.h"
#include "view/PickCursor.h"
#include "view/ViewMessages.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pelto {

namespace {

Bytes PictureBytes(const CPeltoDoc& doc) {
    return BlockBytes(doc.Picture());
}

int SelectedCount(const CPeltoDoc& doc) {
    if (!doc.HasSelection()) return 0;
    int count = 0;
    for (int y = 0; y < doc.Selection()->m_nHeight; ++y)
        for (int x = 0; x < doc.Selection()->m_nWidth; ++x)
            count += doc.Selection()->GetValue({x, y}) > 0;
    return count;
}

// Shows the selection value of the pixel as seen (y from the top).
int MaskAt(const CPeltoDoc& doc, int x, int yFromTop) {
    return doc.Selection()->GetValue({x, doc.Selection()->m_nHeight - 1 - yFromTop});
}

class PeltoViewTest : public testing::Test {
protected:
    void SetUp() override {
        modal::AnswerMessageBoxes([this](const QString& text) { m_messages << text; });
        modal::AnswerParamDialogs(
            [this](int& tolerance, bool& connected) {
                m_toleranceAsked << tolerance;
                m_connectedAsked << connected;
                tolerance = m_nextTolerance;
                connected = m_nextConnected;
                return m_answerOk;
            },
            [this](ButtonParams& params) {
                m_buttonAsked.push_back(params);
                params = m_nextButton;
                return m_answerOk;
            });
    }
    void TearDown() override {
        modal::AnswerMessageBoxes({});
        modal::AnswerParamDialogs({}, {});
        faults::LimitBlockSize(0);
    }

    static void Show(CPeltoView& view, QSize size) {
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.OnInitialUpdate();
    }
    // Never (0, 0): the test library reads a null point as the widget's centre.
    static void Click(CPeltoView& view, QPoint point) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
    }
    void Pick(CPeltoView& view, QPoint point) {
        view.OnEditBgcolor();
        Click(view, point);
    }

    QStringList m_messages;
    QList<int> m_toleranceAsked;
    QList<bool> m_connectedAsked;
    std::vector<ButtonParams> m_buttonAsked;
    int m_nextTolerance = 0;
    bool m_nextConnected = false;
    ButtonParams m_nextButton{};
    bool m_answerOk = true;
};

TEST_F(PeltoViewTest, NewViewStartsWithTheDefaults) {
    CPeltoView view(SquareDoc(40));
    EXPECT_EQ(view.m_nTolerance, 0);
    EXPECT_EQ(view.CurrentButtonParams(), ButtonParams{});
    EXPECT_FALSE(view.m_bPicking);
}

TEST_F(PeltoViewTest, PickingClickAddsTheScrollOffset) {
    auto doc = UniqueColourDoc(300, 200);
    CPeltoView view(doc);
    Show(view, QSize(120, 100));
    view.horizontalScrollBar()->setValue(30);
    view.verticalScrollBar()->setValue(40);
    ASSERT_EQ(view.GetScrollPosition(), QPoint(30, 40));

    Pick(view, QPoint(5, 6));
    EXPECT_FALSE(view.m_bPicking);
    ASSERT_TRUE(doc->HasSelection());
    EXPECT_EQ(SelectedCount(*doc), 1);
    EXPECT_GT(MaskAt(*doc, 35, 46), 0);
}

TEST_F(PeltoViewTest, OkArmsPickingWithTheNewToleranceAndCancelKeepsIt) {
    CPeltoView view(SquareDoc(40));
    m_nextTolerance = 40;
    m_nextConnected = true;
    view.OnEditBgcolor();
    EXPECT_TRUE(view.m_bPicking);
    EXPECT_EQ(view.m_nTolerance, 40);
    EXPECT_TRUE(view.m_bConnected);
    EXPECT_EQ(view.viewport()->cursor().hotSpot(), QPoint(kPickCursorHotSpot, kPickCursorHotSpot));

    m_answerOk = false;
    m_nextTolerance = 90;
    m_nextConnected = false;
    view.OnEditBgcolor();
    EXPECT_TRUE(view.m_bPicking);
    EXPECT_EQ(view.m_nTolerance, 40);
    EXPECT_TRUE(view.m_bConnected);
    EXPECT_EQ(m_toleranceAsked, (QList<int>{0, 40}));
    EXPECT_EQ(m_connectedAsked, (QList<bool>{false, true}));
}

TEST_F(PeltoViewTest, PickingClicksThatMissThePictureEndPickingAndSelectNothing) {
    // Outside the window (the mouse is held, so the view hears it), then inside
    // the window but beside a picture smaller than the window.
    for (const QPoint miss : {QPoint(-5, 10), QPoint(150, 10), QPoint(70, 70)}) {
        auto doc = SquareDoc(40);
        CPeltoView view(doc);
        Show(view, QSize(100, 80));
        Pick(view, miss);
        EXPECT_FALSE(view.m_bPicking) << miss.x();
        EXPECT_FALSE(doc->HasSelection()) << miss.x();
        EXPECT_TRUE(view.viewport()->cursor().shape() != Qt::BitmapCursor);
    }
}

// The toolbar button that started picking stays lit, and its prompt on the
// status bar, unless the view tells it the pointer left while it held the mouse.
TEST_F(PeltoViewTest, APickingClickOutsideLeavesNoButtonLitUnderAGoneCursor) {
    QWidget window;
    window.resize(300, 200);
    auto* button = new QToolButton(&window);
    button->setGeometry(10, 10, 40, 30);
    auto* view = new CPeltoView(SquareDoc(40), &window);
    view->setGeometry(100, 60, 120, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(button, QPoint(20, 15));
    ASSERT_TRUE(button->underMouse());

    view->OnEditBgcolor();
    QTest::mouseMove(&window, QPoint(250, 20)); // beside both, while the view holds the mouse
    Click(*view, view->viewport()->mapFrom(&window, QPoint(250, 20)));
    EXPECT_FALSE(view->m_bPicking);
    EXPECT_FALSE(button->underMouse());
}

TEST_F(PeltoViewTest, ClickOutsidePickingClearsTheSelection) {
    auto doc = SquareDoc(40);
    CPeltoView view(doc);
    Show(view, QSize(100, 80));
    Pick(view, QPoint(1, 1));
    ASSERT_TRUE(doc->HasSelection());
    Click(view, QPoint(20, 20));
    EXPECT_FALSE(doc->HasSelection());
}

TEST_F(PeltoViewTest, PaintsPictureWithTheCheckerboardOverlayAtTheScrollPosition) {
    auto doc = SquareDoc(200);
    CPeltoView view(doc);
    Show(view, QSize(90, 70));
    Pick(view, QPoint(1, 1));
    view.horizontalScrollBar()->setValue(17);
    view.verticalScrollBar()->setValue(23);
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint scroll = view.GetScrollPosition();
    ASSERT_EQ(scroll, QPoint(17, 23));
    int mismatches = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const int ix = x + scroll.x(), iy = y + scroll.y();
            const bool inside = ix >= 50 && ix < 150 && iy >= 50 && iy < 150;
            // Shape pixels keep their grey; background turns grey or white by 4 x 4 cells.
            const int storedRow = 199 - iy;
            const QRgb expected = inside                             ? qRgb(128, 128, 128)
                                  : CheckerValue(ix, storedRow) == 1 ? qRgb(128, 128, 128)
                                                                     : qRgb(255, 255, 255);
            mismatches += (shown.pixel(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF);
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(PeltoViewTest, MakeButtonWithoutSelectionOnlySaysSo) {
    auto doc = SquareDoc(40);
    CPeltoView view(doc);
    view.OnEditMakebutton();
    EXPECT_EQ(m_messages, QStringList{QString::fromUtf8(kMsgNoSelection)});
    EXPECT_TRUE(m_buttonAsked.empty());
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(PeltoViewTest, ButtonDialogOpensWithTheValuesLastAcceptedInThisView) {
    auto doc = SquareDoc(40);
    CPeltoView view(doc);
    Show(view, QSize(100, 80));
    m_nextButton = {135, 300, 8, BevelShape::Round, BevelOutline::Outer};
    Pick(view, QPoint(1, 1));
    view.OnEditMakebutton();
    EXPECT_TRUE(doc->CanUndo());

    // Cancel keeps what was accepted before, whatever the dialog held.
    m_answerOk = false;
    m_nextButton = {1, 2, 3, BevelShape::Cut, BevelOutline::Inner};
    doc->SelectBackground(0, 0, 0);
    view.OnEditMakebutton();
    ASSERT_EQ(m_buttonAsked.size(), 2u);
    const ButtonParams chosen{135, 300, 8, BevelShape::Round, BevelOutline::Outer};
    EXPECT_EQ(m_buttonAsked[0], ButtonParams{});
    EXPECT_EQ(m_buttonAsked[1], chosen);
    EXPECT_EQ(view.CurrentButtonParams(), chosen);
    EXPECT_TRUE(doc->HasSelection()) << "cancel must not touch the document";
}

TEST_F(PeltoViewTest, UndoIsOfferedExactlyWhileASnapshotExists) {
    auto doc = SquareDoc(40);
    CPeltoView view(doc);
    Show(view, QSize(100, 80));
    const Bytes original = PictureBytes(*doc);
    EXPECT_FALSE(view.OnUpdateEditUndo());
    Pick(view, QPoint(1, 1));
    view.OnEditMakebutton();
    EXPECT_TRUE(view.OnUpdateEditUndo());
    EXPECT_FALSE(doc->HasSelection());
    view.OnEditMakebutton(); // the selection went with the bevel
    EXPECT_EQ(m_messages.size(), 1);
    view.OnEditUndo();
    EXPECT_FALSE(view.OnUpdateEditUndo());
    EXPECT_EQ(PictureBytes(*doc), original);
}

TEST_F(PeltoViewTest, OutOfMemoryInMakeButtonIsReportedAndChangesNothing) {
    auto doc = SquareDoc(40);
    CPeltoView view(doc);
    Show(view, QSize(100, 80));
    Pick(view, QPoint(1, 1));
    faults::LimitBlockSize(16);
    view.OnEditMakebutton();
    faults::LimitBlockSize(0);
    EXPECT_EQ(m_messages, QStringList{QString::fromUtf8(docmsg::kOutOfMemory)});
    EXPECT_TRUE(doc->HasSelection());
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PeltoViewTest, TwoViewsShareTheDocumentButNotTheirValuesOrPicking) {
    auto doc = SquareDoc(40);
    CPeltoView first(doc), second(doc);
    Show(first, QSize(100, 80));
    Show(second, QSize(100, 80));
    m_nextTolerance = 25;
    first.OnEditBgcolor();
    EXPECT_TRUE(first.m_bPicking);
    EXPECT_FALSE(second.m_bPicking);
    Click(first, QPoint(1, 1));
    EXPECT_TRUE(second.GetDocument().HasSelection());
    EXPECT_EQ(second.m_nTolerance, 0);
    m_nextButton = {90, 10, 3, BevelShape::Round, BevelOutline::Inner};
    first.OnEditMakebutton();
    EXPECT_TRUE(second.OnUpdateEditUndo());
    EXPECT_EQ(second.CurrentButtonParams(), ButtonParams{});
}

TEST_F(PeltoViewTest, InitialUpdateShrinksTheWindowToASmallPictureOnly) {
    QMdiArea area;
    area.resize(600, 500);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    struct Case {
        QSize picture;
        bool shrinkAcross, shrinkDown;
    };
    for (const Case c : {Case{{60, 50}, true, true}, Case{{900, 800}, false, false},
                         Case{{60, 800}, true, false}}) {
        auto doc = std::make_shared<CPeltoDoc>();
        LoadPicture(*doc, MakeBmp24(c.picture.width(), c.picture.height(), RGB(1, 2, 3)));
        auto* view = new CPeltoView(doc);
        QMdiSubWindow* frame = area.addSubWindow(view);
        frame->resize(300, 250);
        frame->show();
        QCoreApplication::processEvents();
        const QSize before = frame->size();
        view->OnInitialUpdate();
        QCoreApplication::processEvents();
        EXPECT_EQ(frame->width() < before.width(), c.shrinkAcross) << c.picture.width();
        EXPECT_EQ(frame->height() < before.height(), c.shrinkDown) << c.picture.height();
        if (c.shrinkAcross && c.shrinkDown) {
            EXPECT_EQ(view->viewport()->size(), c.picture);
        }
        frame->close();
    }
}

} // namespace

} // namespace pelto
