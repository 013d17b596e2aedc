#include "AppFixture.h"

#include "app/AboutDlg.h"
#include "app/DocumentSlot.h"
#include "docview/DocMessages.h"
#include "docview/view/PeltoView.h"

#include <QLabel>
#include <QMdiArea>
#include <QStyle>

namespace {

class MainFrameTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        m_app = Start();
        ASSERT_TRUE(m_bStarted);
    }
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }

    std::unique_ptr<CPeltoApp> m_app;
};

TEST_F(MainFrameTest, MenusSwitchWithTheActiveDocumentWindow) {
    const QString path = WritePicture("menus.bmp");
    ASSERT_TRUE(Frame().OpenDocumentFile(path));
    EXPECT_EQ(MenuTitles(Frame()).size(), 5);
    EXPECT_EQ(MenuTitles(Frame())[1], QString::fromUtf8("編集(&E)"));
    EXPECT_EQ(MenuTitles(Frame())[3], QString::fromUtf8("ｳｨﾝﾄﾞｳ(&W)"));
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - menus.bmp");
    EXPECT_TRUE(Frame().GetActions().editBgcolor->isEnabled());
    EXPECT_FALSE(Frame().GetActions().editUndo->isEnabled());

    Frame().OnFileClose();
    Settle();
    EXPECT_EQ(MenuTitles(Frame()).size(), 3);
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool");
    EXPECT_TRUE(m_messages.isEmpty()) << "closing never asks";
}

TEST_F(MainFrameTest, CtrlNOpensNothingAndSaysNothing) {
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(Frame().GetChildFrames().isEmpty());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(MainFrameTest, KeysReachTheirCommands) {
    const QString path = WritePicture("keys.bmp");
    m_nextPath = path;
    QTest::keyClick(&Frame(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Frame().GetChildFrames().size(), 1);
    ASSERT_EQ(m_dialogKinds, std::vector<FileDialogKind>{FileDialogKind::Open});

    CPeltoView* view = Frame().GetActiveView();
    view->GetDocument().SelectBackground(0, 0, 5);
    Frame().GetActions().editMakebutton->trigger();
    EXPECT_TRUE(Frame().GetActions().editUndo->isEnabled());
    QTest::keyClick(&Frame(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_FALSE(view->GetDocument().CanUndo());
    EXPECT_FALSE(Frame().GetActions().editUndo->isEnabled());
}

TEST_F(MainFrameTest, RefusedAndZeroLengthFiles) {
    const QString refused = WriteBytes("text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(Frame().OpenDocumentFile(refused), nullptr);
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages[1], QString::fromUtf8(docmsg::kUnexpectedFormat));
    EXPECT_TRUE(Frame().GetChildFrames().isEmpty());
    EXPECT_TRUE(m_app->GetRecentFiles().Files().isEmpty());

    const QString empty = WriteBytes("empty.bmp", Bytes{});
    CChildFrame* frame = Frame().OpenDocumentFile(empty);
    ASSERT_TRUE(frame);
    EXPECT_FALSE(frame->GetView()->GetDocument().m_dib.HasBlock());
    frame->GetView()->viewport()->repaint();
    Frame().OnFileSave();
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(m_messages.size(), 2);
}

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

TEST_F(MainFrameTest, SaveAsAddsTheExtensionAndRetitles) {
    const QString path = WritePicture("orig.bmp");
    ASSERT_TRUE(Frame().OpenDocumentFile(path));
    m_nextPath = QString::fromStdString(m_files.File("copy"));
    Frame().OnFileSaveAs();
    const QString saved = m_nextPath + ".bmp";
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(ReadFileBytes(saved.toStdString()), ReadFileBytes(path.toStdString()));
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - copy.bmp");
    EXPECT_EQ(m_app->GetRecentFiles().Files().first(), saved);

    // A failed save reports and keeps the document's name.
    m_nextPath = QString::fromStdString(m_files.File("no-such-folder/x.bmp"));
    Frame().OnFileSaveAs();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(Frame().windowTitle(), "Pelto Tool - copy.bmp");
}

TEST_F(MainFrameTest, TwoWindowsOnOneDocumentKeepTheirOwnValues) {
    const QString path = WritePicture("twice.bmp");
    CChildFrame* first = Frame().OpenDocumentFile(path);
    ASSERT_TRUE(first);
    Frame().OnWindowNew();
    const QList<CChildFrame*> frames = Frame().GetChildFrames();
    ASSERT_EQ(frames.size(), 2);
    CChildFrame* second = frames[0] == first ? frames[1] : frames[0];
    EXPECT_EQ(&first->GetView()->GetDocument(), &second->GetView()->GetDocument());
    EXPECT_EQ(first->windowTitle(), "twice.bmp:1");
    EXPECT_EQ(second->windowTitle(), "twice.bmp:2");
    EXPECT_EQ(Frame().GetWindowListActions().size(), 2);

    first->GetView()->m_nContrast = 400;
    EXPECT_EQ(second->GetView()->m_nContrast, 128);
    // Opening the same file again shows the open document.
    EXPECT_EQ(Frame().OpenDocumentFile(path)->GetSlot(), first->GetSlot());
    EXPECT_EQ(Frame().GetChildFrames().size(), 2);

    Frame().OnWindowTileHorz();
    EXPECT_EQ(first->width(), second->width());
    EXPECT_NE(first->y(), second->y());

    // The document outlives its first window.
    first->close();
    Settle();
    ASSERT_EQ(Frame().GetChildFrames().size(), 1);
    EXPECT_EQ(second->windowTitle(), "twice.bmp");
    EXPECT_TRUE(second->GetView()->GetDocument().m_dib.HasBlock());
}

TEST_F(MainFrameTest, ToolbarAndStatusBarCanBeHiddenInBothMenuStates) {
    for (bool withDocument : {false, true}) {
        if (withDocument) {
            ASSERT_TRUE(Frame().OpenDocumentFile(WritePicture("bars.bmp")));
        }
        Frame().GetActions().viewToolbar->trigger();
        Frame().GetActions().viewStatusBar->trigger();
        EXPECT_FALSE(Frame().GetToolBar()->isVisible());
        EXPECT_FALSE(Frame().statusBar()->isVisible());
        Frame().GetActions().viewToolbar->trigger();
        Frame().GetActions().viewStatusBar->trigger();
        EXPECT_TRUE(Frame().GetToolBar()->isVisible());
        EXPECT_TRUE(Frame().statusBar()->isVisible());
    }
}

TEST_F(MainFrameTest, HelpLooksForTheFileNamedAfterTheProgram) {
    Frame().OnHelp();
    ASSERT_EQ(m_messages.size(), 1) << "the test program has no help file beside it";
    EXPECT_TRUE(m_messages[0].contains(QCoreApplication::applicationFilePath() + ".HLP"));
}

TEST(AboutDlg, ShowsTheCaptionVersionAndIcon) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(Pelto Tool)"));
    const auto* version = about.findChild<QLabel*>("version");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), "Pelto Tool   Version 1.1");
    EXPECT_EQ(version->textFormat(), Qt::PlainText);
    int icons = 0;
    for (const QLabel* label : about.findChildren<QLabel*>())
        icons += !label->pixmap().isNull();
    EXPECT_EQ(icons, 1);
}

} // namespace
