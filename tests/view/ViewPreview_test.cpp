// The button dialog's preview as the view shows it, with the real dialog.
#include "ViewTestDocs.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/MessageBox.h"
#include "support/ModalControl.h"
#include "view/ParamDialogs.h"
#include "view/PeltoView.h"
#include "view/PreviewWorker.h"
#include "view/ViewRendering.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace pelto {

namespace {

Bytes SquareFile() {
    return MakeBmp24(60, 50, [](int x, int y) {
        return x >= 15 && x < 45 && y >= 12 && y < 38 ? RGB(40, 120, 200) : RGB(250, 250, 245);
    });
}

// The picture MakeButton makes from the square picked at its corner.
std::unique_ptr<CPeltoDoc> Made(const ButtonParams& params) {
    auto doc = std::make_unique<CPeltoDoc>();
    LoadPicture(*doc, SquareFile());
    doc->SelectBackground(0, 0, 0);
    doc->MakeButton(params);
    return doc;
}

QImage Shown(CPeltoView& view) {
    return view.viewport()
        ->grab()
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(0, 0, 60, 50);
}

QImage Drawn(CPeltoDoc& doc) {
    return RenderPicture(doc, QRect(0, 0, 60, 50), 0xFFFFFF).convertToFormat(QImage::Format_RGB32);
}

class ViewPreviewTest : public testing::Test {
protected:
    void SetUp() override {
        modal::AnswerParamDialogs({}, {});
        modal::AnswerMessageBoxes([](const QString& text) { FAIL() << text.toStdString(); });
        LoadPicture(*m_doc, SquareFile());
        m_doc->SelectBackground(0, 0, 0);
        m_view.resize(100, 80);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        m_view.OnInitialUpdate();
    }
    void TearDown() override { modal::AnswerMessageBoxes({}); }

    // Runs the make-button command with the real dialog driven by steps.
    void MakeButtonDriving(const std::function<void(CButtonDlg&)>& steps) {
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CButtonDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            steps(*dlg);
            if (dlg->isVisible()) dlg->reject();
        });
        m_view.OnEditMakebutton();
    }
    // Waits until the view shows what is expected (the preview arrives from another thread).
    bool ShowsSoon(const QImage& expected) {
        for (int i = 0; i < 500 && Shown(m_view) != expected; ++i)
            QTest::qWait(10);
        return Shown(m_view) == expected;
    }

    std::shared_ptr<CPeltoDoc> m_doc = std::make_shared<CPeltoDoc>();
    CPeltoView m_view{m_doc};
};

TEST_F(ViewPreviewTest, ShowsTheBevelOkWouldMakeAndCancelLeavesThePictureAsItWas) {
    const Bytes before = BlockBytes(m_doc->Picture());
    const QImage withSelection = Drawn(*m_doc);
    ButtonParams expected; // the view's, which the dialog opens with
    MakeButtonDriving([&](CButtonDlg&) {
        EXPECT_TRUE(ShowsSoon(Drawn(*Made(expected)))) << "the opening values";
        auto* dlg = qobject_cast<CButtonDlg*>(QApplication::activeModalWidget());
        QTest::mouseClick(dlg->findChild<QWidget*>("angleSpin")->findChild<QToolButton*>("upArrow"),
                          Qt::LeftButton);
        ++expected.angle;
        EXPECT_TRUE(ShowsSoon(Drawn(*Made(expected)))) << "a step of the angle";
        auto* contrast = dlg->findChild<QLineEdit*>("contrastEdit");
        contrast->selectAll();
        QTest::keyClicks(contrast, QStringLiteral("300"));
        expected.contrast = 300;
        EXPECT_TRUE(ShowsSoon(Drawn(*Made(expected)))) << "a number typed";
        dlg->findChild<QCheckBox*>("previewBox")->click();
        EXPECT_TRUE(ShowsSoon(withSelection)) << "the preview turned off";
        dlg->findChild<QCheckBox*>("previewBox")->click();
        EXPECT_TRUE(ShowsSoon(Drawn(*Made(expected)))) << "and on again";
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(BlockBytes(m_doc->Picture()), before);
    EXPECT_TRUE(m_doc->HasSelection());
    EXPECT_FALSE(m_doc->CanUndo());
    EXPECT_TRUE(ShowsSoon(withSelection));
}

TEST_F(ViewPreviewTest, OkMakesTheButtonThroughTheDocument) {
    MakeButtonDriving([&](CButtonDlg& dlg) {
        auto* width = dlg.findChild<QLineEdit*>("widthEdit");
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("9"));
        QTest::mouseClick(dlg.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    ButtonParams typed; // into the opening values
    typed.width = 9;
    EXPECT_EQ(BlockBytes(m_doc->Picture()), BlockBytes(Made(typed)->Picture()));
    EXPECT_FALSE(m_doc->HasSelection());
    EXPECT_TRUE(m_doc->CanUndo());
    EXPECT_TRUE(ShowsSoon(Drawn(*m_doc)));
}

// Requests made faster than the engine renders: only the newest is handed out,
// and nothing after Drop.
TEST(PreviewWorker, HandsOutOnlyTheNewestRequest) {
    CPeltoDoc doc;
    LoadPicture(doc, SquareFile());
    doc.SelectBackground(0, 0, 0);
    std::vector<Bytes> results;
    {
        CPreviewWorker worker(doc.Picture(), *doc.Selection());
        QObject::connect(&worker, &CPreviewWorker::ready,
                         [&](std::shared_ptr<const CPreviewFrame> frame) {
                             results.push_back(BlockBytes(frame->picture));
                         });
        for (int angle = 0; angle < 20; ++angle)
            worker.Request({angle, 128, 5, BevelShape::Cut, BevelOutline::Inner});
        for (int i = 0; i < 500 && results.empty(); ++i)
            QTest::qWait(10);
        QTest::qWait(50);
        worker.Request({90, 128, 5, BevelShape::Cut, BevelOutline::Inner});
        worker.Drop();
        QTest::qWait(100);
    }
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0],
              BlockBytes(Made({19, 128, 5, BevelShape::Cut, BevelOutline::Inner})->Picture()));
}

// A picture larger than the view: the preview shades the part in sight,
// and what the view shows is what it shows of OK's button, wherever it
// scrolls or zooms while the dialog is open.
TEST(ViewPreviewInSight, ShowsOksBevelWhereverTheViewScrollsOrZooms) {
    modal::AnswerParamDialogs({}, {});
    modal::AnswerMessageBoxes([](const QString& text) { FAIL() << text.toStdString(); });
    const Bytes file = MakeBmp24(240, 180, [](int x, int y) {
        const int dx = x - 170, dy = y - 110, r = dx * dx + dy * dy;
        const bool ring = r < 50 * 50 && r > 20 * 20;
        return ring || (x >= 20 && x < 110 && y >= 15 && y < 90) ? RGB(40, 120, 200)
                                                                 : RGB(250, 250, 245);
    });
    auto doc = std::make_shared<CPeltoDoc>(), made = std::make_shared<CPeltoDoc>();
    for (CPeltoDoc* d : {doc.get(), made.get()}) {
        LoadPicture(*d, file);
        d->SelectBackground(0, 0, 0);
    }
    made->MakeButton(ButtonParams{}); // the values the dialog opens with
    CPeltoView view(doc), expected(made);
    for (CPeltoView* v : {&view, &expected}) {
        v->resize(100, 80);
        v->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
        v->OnInitialUpdate();
    }
    const auto grab = [](CPeltoView& v) {
        return v.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    struct Place {
        CZoom zoom;
        QPoint scroll;
    };
    const Place places[] = {{{1, 1}, {0, 0}},     {{1, 1}, {140, 100}}, {{1, 1}, {60, 40}},
                            {{2, 1}, {300, 200}}, {{1, 2}, {0, 0}},     {{1, 4}, {0, 0}}};
    QTimer::singleShot(0, [&] {
        QWidget* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        for (const Place& place : places) {
            for (CPeltoView* v : {&view, &expected}) {
                v->SetZoom(place.zoom, {});
                v->horizontalScrollBar()->setValue(place.scroll.x());
                v->verticalScrollBar()->setValue(place.scroll.y());
            }
            QTest::qWait(20); // the scroll bars come and go once the events are handled
            const QImage want = grab(expected);
            bool same = false;
            for (int i = 0; i < 500 && !(same = grab(view) == want); ++i)
                QTest::qWait(10);
            EXPECT_TRUE(same) << "zoom " << place.zoom.num << "/" << place.zoom.den << " at "
                              << place.scroll.x() << "," << place.scroll.y();
        }
        dlg->close();
    });
    view.OnEditMakebutton();
    EXPECT_FALSE(doc->CanUndo());
}

} // namespace

} // namespace pelto
