#include "MainFrameFixture.h"

#include "app/AboutDlg.h"
#include "app/DocumentSlot.h"
#include "document/ButtonStyle.h"
#include "document/DocMessages.h"
#include "support/ModalControl.h"
#include "support/PngBuilder.h"
#include "view/PeltoView.h"

#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>

#include <functional>

namespace pelto {

namespace {

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
    ASSERT_EQ(m_dialogKinds, std::vector<modal::FileDialogKind>{modal::FileDialogKind::Open});

    CPeltoView* view = Frame().GetActiveView();
    view->GetDocument().SelectBackground(0, 0, 5);
    Frame().GetActions().editMakebutton->trigger();
    EXPECT_TRUE(Frame().GetActions().editUndo->isEnabled());
    QTest::keyClick(&Frame(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_FALSE(view->GetDocument().CanUndo());
    EXPECT_FALSE(Frame().GetActions().editUndo->isEnabled());
}

// Make Background Transparent waits for a selection, makes the picture
// transparent in one step that undo takes back, and leaves the transparent
// area selected.
TEST_F(MainFrameTest, TheCutOutIsOneStepOfTheEditMenu) {
    CChildFrame* frame = Frame().OpenDocumentFile(WritePicture("cut.bmp"));
    ASSERT_TRUE(frame);
    const CMainFrame::Actions& actions = Frame().GetActions();
    CPeltoDoc& doc = frame->GetView()->GetDocument();
    EXPECT_FALSE(actions.editCutOut->isEnabled());
    EXPECT_EQ(actions.editCutOut->text(), QString::fromUtf8("背景を透明にする"));
    doc.SelectBackground(0, 0, 5);
    emit frame->GetView()->documentChanged();
    ASSERT_TRUE(actions.editCutOut->isEnabled());
    actions.editCutOut->trigger();
    EXPECT_TRUE(doc.HasTransparency());
    EXPECT_TRUE(doc.HasSelection());
    EXPECT_TRUE(actions.editUndo->isEnabled());
    EXPECT_TRUE(frame->isWindowModified());
    actions.editUndo->trigger();
    EXPECT_FALSE(doc.HasTransparency());
    EXPECT_FALSE(frame->isWindowModified());
}

// The Edit menu's undo and redo, and the unsaved mark on the window and in
// the Window menu, after each step of a session.
TEST_F(MainFrameTest, UndoRedoAndTheUnsavedMarkFollowTheHistory) {
    CChildFrame* frame = Frame().OpenDocumentFile(WritePicture("mark.bmp"));
    ASSERT_TRUE(frame);
    const CMainFrame::Actions& actions = Frame().GetActions();
    const QList<QAction*> edit = Frame().menuBar()->actions()[1]->menu()->actions();
    ASSERT_GE(edit.size(), 2);
    EXPECT_EQ(edit[0], actions.editUndo);
    EXPECT_EQ(edit[1], actions.editRedo);
    EXPECT_EQ(actions.editUndo->text(), QString::fromUtf8("元に戻す(&U)"));
    EXPECT_EQ(actions.editRedo->text(), QString::fromUtf8("やり直し(&R)"));

    const auto button = [&] {
        frame->GetView()->GetDocument().SelectBackground(0, 0, 5);
        actions.editMakebutton->trigger();
    };
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        return [=, this] { QTest::keyClick(&Frame(), k, modifiers); };
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    struct Step {
        const char* name;
        std::function<void()> run;
        bool undo, redo, modified;
    };
    const Step steps[] = {
        {"button", button, true, false, true},
        {"Ctrl+Z", key(Qt::Key_Z, ctrl), false, true, false},
        {"Ctrl+Y", key(Qt::Key_Y, ctrl), true, false, true},
        {"second button", button, true, false, true},
        {"save", [&] { Frame().OnFileSave(); }, true, false, false},
        {"Alt+Backspace", key(Qt::Key_Backspace, Qt::AltModifier), true, true, true},
        {"Ctrl+Shift+Z", key(Qt::Key_Z, ctrl | Qt::ShiftModifier), true, false, false},
        {"Ctrl+Z twice", [&] { key(Qt::Key_Z, ctrl)(), key(Qt::Key_Z, ctrl)(); }, false, true,
         true},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(actions.editUndo->isEnabled(), step.undo) << step.name;
        EXPECT_EQ(actions.editRedo->isEnabled(), step.redo) << step.name;
        EXPECT_EQ(frame->isWindowModified(), step.modified) << step.name;
        EXPECT_EQ(frame->windowTitle(), step.modified ? "mark.bmp[*]" : "mark.bmp") << step.name;
        ASSERT_EQ(Frame().GetWindowListActions().size(), 1) << step.name;
        EXPECT_EQ(Frame().GetWindowListActions()[0]->text(),
                  step.modified ? "&1 mark.bmp*" : "&1 mark.bmp")
            << step.name;
    }
    // Maximised, the window's title joins the main frame's, mark and all.
    frame->showMaximized();
    Settle();
    EXPECT_TRUE(Frame().isWindowModified());
    Frame().OnFileSave();
    EXPECT_FALSE(Frame().isWindowModified());
    EXPECT_TRUE(m_messages.isEmpty());
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
    EXPECT_FALSE(frame->GetView()->GetDocument().Picture().HasBlock());
    frame->GetView()->viewport()->repaint();
    Frame().OnFileSave();
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(m_messages.size(), 2);
}

TEST_F(MainFrameTest, DroppedFilesOpenAsFileOpenWouldOpenThem) {
    const QString first = WritePicture("first.bmp"), second = WritePicture("second.bmp");
    const QString refused = WriteBytes("text.bmp", Bytes{'h', 'i'});
    const auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&Frame(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&Frame(), &dropped);
        // The drop is over before any file opens or any box shows.
        EXPECT_TRUE(dropped.isAccepted());
        EXPECT_TRUE(m_messages.isEmpty());
        Settle();
        return true;
    };
    ASSERT_TRUE(drop(
        {QUrl::fromLocalFile(first), QUrl::fromLocalFile(refused), QUrl::fromLocalFile(second)}));
    EXPECT_EQ(Frame().GetChildFrames().size(), 2);
    ASSERT_EQ(m_messages.size(), 1) << "one box for the refused file, naming it";
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("text.bmp")));
    EXPECT_TRUE(m_messages[0].contains(QString::fromUtf8(CDIB::kMsgWrongFormat)));
    EXPECT_EQ(Frame().GetActiveFrame()->windowTitle(), "second.bmp");
    m_messages.clear();

    ASSERT_TRUE(drop({QUrl::fromLocalFile(first)}));
    EXPECT_EQ(Frame().GetChildFrames().size(), 2) << "an open file activates its window";
    EXPECT_EQ(Frame().GetActiveFrame()->windowTitle(), "first.bmp");
    EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.com/a.bmp"))}));
}

TEST_F(MainFrameTest, TheViewMenuZoomsTheActiveViewAndThePaneShowsItsZoom) {
    const CMainFrame::Actions& a = Frame().GetActions();
    for (QAction* zoom : {a.viewZoomIn, a.viewZoomOut, a.viewZoomActual, a.viewZoomFit})
        EXPECT_FALSE(zoom->isEnabled()) << zoom->text().toStdString();
    CChildFrame* first = Frame().OpenDocumentFile(WritePicture("one.bmp"));
    CChildFrame* second = Frame().OpenDocumentFile(WritePicture("two.bmp"));
    ASSERT_TRUE(first && second);

    QStringList items;
    for (const QAction* item : MenuTitles(Frame()).size() == 5
                                   ? Frame().menuBar()->actions()[2]->menu()->actions()
                                   : QList<QAction*>{})
        items << (item->isSeparator() ? QStringLiteral("|")
                                      : item->text() + u'\t' + item->shortcut().toString());
    EXPECT_EQ(
        items,
        (QStringList{QString::fromUtf8("ﾂｰﾙ ﾊﾞｰ(&T)\t"), QString::fromUtf8("ｽﾃｰﾀｽ ﾊﾞｰ(&S)\t"), "|",
                     QString::fromUtf8("拡大(&I)\tCtrl++"), QString::fromUtf8("縮小(&O)\tCtrl+-"),
                     QString::fromUtf8("等倍表示(&A)\tCtrl+0"),
                     QString::fromUtf8("ｳｨﾝﾄﾞｳに合わせる(&F)\t"), "|",
                     QString::fromUtf8("言語(&L)\t")}));

    const auto pane = [&] { return Frame().statusBar()->findChild<QLabel*>("zoomPane")->text(); };
    EXPECT_EQ(pane(), "100 %");
    QTest::keyClick(&Frame(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(pane(), "150 %");
    EXPECT_EQ(ZoomText(second->GetView()->GetZoom()), "150 %");
    Frame().GetMdiArea()->setActiveSubWindow(first);
    EXPECT_EQ(pane(), "100 %") << "each view has its own zoom";
    a.viewZoomOut->trigger();
    EXPECT_EQ(pane(), "67 %");
    EXPECT_EQ(ZoomText(second->GetView()->GetZoom()), "150 %");
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
    EXPECT_GT(second->x(), first->x()); // cascaded, not covering the first

    first->GetView()->ApplyStyle({ButtonParams{0, 400}, std::nullopt});
    EXPECT_EQ(second->GetView()->CurrentButtonParams(), ButtonParams{});
    // Opening the same file again shows the open document.
    EXPECT_EQ(Frame().OpenDocumentFile(path)->GetSlot(), first->GetSlot());
    const QString link = QString::fromStdString(m_files.File("link.bmp"));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(Frame().OpenDocumentFile(link)->GetSlot(), first->GetSlot()) << "through a link too";
    EXPECT_EQ(Frame().GetChildFrames().size(), 2);

    Frame().OnWindowTileHorz();
    EXPECT_EQ(first->width(), second->width());
    EXPECT_NE(first->y(), second->y());

    // The document outlives its first window.
    first->close();
    Settle();
    ASSERT_EQ(Frame().GetChildFrames().size(), 1);
    EXPECT_EQ(second->windowTitle(), "twice.bmp");
    EXPECT_TRUE(second->GetView()->GetDocument().Picture().HasBlock());
}

// The toolbar's images are drawn for the screen: at two dots per pixel they
// are twice the size with edges as sharp as at one, no colour but theirs.
TEST_F(MainFrameTest, ToolbarImagesStaySharpAtTwiceTheScale) {
    const QList<QAction*> buttons = Frame().GetToolBar()->actions();
    int drawn = 0;
    for (const QAction* action : buttons) {
        if (action->isSeparator()) continue;
        const QImage one = action->icon().pixmap(QSize(16, 15), 1.0).toImage();
        const QImage two = action->icon().pixmap(QSize(16, 15), 2.0).toImage();
        ASSERT_EQ(one.size(), QSize(16, 15));
        ASSERT_EQ(two.size(), QSize(32, 30));
        int blurred = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 32; ++x)
                blurred += two.pixel(x, y) != one.pixel(x / 2, y / 2);
        // The make-button image's face is a smooth gradient, finer at 2x.
        EXPECT_LE(blurred, action == Frame().GetActions().editMakebutton ? 90 * 4 : 0)
            << action->text().toStdString();
        ++drawn;
    }
    EXPECT_EQ(drawn, 5);
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

TEST_F(MainFrameTest, HelpLooksForTheFileNamedAfterTheProgramInTheLanguageChosen) {
    Frame().OnHelp();
    Frame().GetActions().viewEnglish->trigger();
    Settle();
    Frame().OnHelp();
    ASSERT_EQ(m_messages.size(), 2) << "the test program has no help file beside it";
    EXPECT_TRUE(m_messages[0].contains(QCoreApplication::applicationFilePath() + ".HLP"));
    EXPECT_TRUE(m_messages[1].contains(QCoreApplication::applicationFilePath() + ".en.HLP"));
}

// Every text follows the language chosen, the plain C++ layers' messages
// too, and the choice outlives the program; Japanese comes back as it was.
TEST_F(MainFrameTest, TheLanguageMenuSwitchesEveryTextAndKeepsTheChoice) {
    const QStringList japanese = MenuTitles(Frame());
    Frame().GetActions().viewEnglish->trigger();
    Settle();
    EXPECT_EQ(MenuTitles(Frame()), (QStringList{"&File", "&View", "&Help"}));
    EXPECT_EQ(Frame().GetActions().fileOpen->text(), "&Open...");
    Frame().OpenDocumentFile(WriteBytes("text.bmp", Bytes{'h', 'i'}));
    EXPECT_EQ(m_messages, (QStringList{"Not a BMP or PNG file", "Unexpected file format."}));

    m_app.reset();
    m_app = Start();
    EXPECT_TRUE(m_app->GetMainFrame()->GetActions().viewEnglish->isChecked());
    EXPECT_EQ(MenuTitles(Frame()).first(), "&File");
    Frame().GetActions().viewJapanese->trigger();
    Settle();
    EXPECT_EQ(MenuTitles(Frame()), japanese);
}

TEST(AboutDlg, ShowsTheCaptionVersionAndIcon) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(Pelto Tool)"));
    const auto* version = about.findChild<QLabel*>("version");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), "Pelto Tool   Version " PELTO_VERSION);
    EXPECT_EQ(version->textFormat(), Qt::PlainText);
    int icons = 0;
    for (const QLabel* label : about.findChildren<QLabel*>())
        icons += !label->pixmap().isNull();
    EXPECT_EQ(icons, 1);
}

} // namespace

} // namespace pelto
