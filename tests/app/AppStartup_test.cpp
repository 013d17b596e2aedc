#include "AppFixture.h"

#include "document/DocMessages.h"
#include "image/Dib.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace pelto {

namespace {

using AppStartup = AppFixture;

TEST_F(AppStartup, NoArgumentGivesTheEmptyFrameWithItsMenuToolbarAndStatusBar) {
    auto app = Start();
    ASSERT_TRUE(m_bStarted);
    CMainFrame& frame = *app->GetMainFrame();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.GetChildFrames().isEmpty());
    EXPECT_EQ(frame.windowTitle(), "Pelto Tool");
    EXPECT_EQ(MenuTitles(frame),
              (QStringList{QString::fromUtf8("ﾌｧｲﾙ(&F)"), QString::fromUtf8("表示(&V)"),
                           QString::fromUtf8("ﾍﾙﾌﾟ(&H)")}));
    const CMainFrame::Actions& a = frame.GetActions();
    EXPECT_TRUE(a.fileOpen->isEnabled());
    for (QAction* off : {a.fileSave, a.editBgcolor, a.editMakebutton, a.editUndo})
        EXPECT_FALSE(off->isEnabled()) << off->toolTip().toStdString();

    // Five buttons with two separators, in order.
    QStringList layout;
    for (const QAction* item : frame.GetToolBar()->actions())
        layout << (item->isSeparator() ? QStringLiteral("|") : item->toolTip());
    EXPECT_EQ(layout, (QStringList{QString::fromUtf8("開く"), QString::fromUtf8("保存"), "|",
                                   QString::fromUtf8("背景色選択"), QString::fromUtf8("ボタン作成"),
                                   "|", QString::fromUtf8("ﾄﾋﾟｯｸの検索")}));
    EXPECT_EQ(a.fileSave->statusTip(), QString::fromUtf8("作業中のﾌｧｲﾙを保存"));
    EXPECT_EQ(frame.GetToolBar()->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_TRUE(frame.GetToolBar()->isFloatable());

    const auto labels = frame.statusBar()->findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first()->text(),
              QString::fromUtf8("ﾍﾙﾌﾟを表示するには [F1] を押してください。"));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(AppStartup, LoadsTheToolkitsJapaneseTexts) {
    auto app = Start();
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

TEST_F(AppStartup, APathOnTheCommandLineOpensIt) {
    const QString path = WritePicture("start.bmp");
    auto app = Start({path});
    ASSERT_TRUE(m_bStarted);
    ASSERT_EQ(app->GetMainFrame()->GetChildFrames().size(), 1);
    EXPECT_EQ(app->GetMainFrame()->windowTitle(), "Pelto Tool - start.bmp");
    // Opened before the main window shows, it still takes the first place.
    EXPECT_EQ(app->GetMainFrame()->GetChildFrames()[0]->pos(), QPoint(0, 0));
}

TEST_F(AppStartup, ARefusedFileOnTheCommandLineEndsTheProgramAfterItsMessages) {
    Bytes eightBit = MakeBmp24(4, 4, RGB(1, 1, 1));
    PutU16(eightBit, 28, 8);
    const QString path = WriteBytes("eight.bmp", eightBit);
    for (const QStringList& arguments : {QStringList{path}, QStringList{"/p", path}}) {
        m_messages.clear();
        auto app = Start(arguments);
        EXPECT_FALSE(m_bStarted);
        EXPECT_NE(app->ExitCode(), 0);
        EXPECT_FALSE(app->GetMainFrame()->isVisible());
        EXPECT_EQ(m_messages, (QStringList{QString::fromUtf8(CDIB::kMsgNotFullColour),
                                           QString::fromUtf8(docmsg::kUnexpectedFormat)}));
    }
}

TEST_F(AppStartup, PrintingEndsTheProgramWithoutShowingTheWindow) {
    const QString path = WritePicture("print.bmp");
    auto app = Start({"/pt", path, "no-such-printer", "driver", "port"});
    EXPECT_FALSE(m_bStarted);
    EXPECT_FALSE(app->GetMainFrame()->isVisible());
    EXPECT_TRUE(app->GetMainFrame()->GetChildFrames().isEmpty());
}

TEST_F(AppStartup, RecentFilesSurviveARestartAndAVanishedOneIsDropped) {
    const QString first = WritePicture("first.bmp");
    const QString second = WritePicture("second.bmp");
    {
        auto app = Start();
        ASSERT_TRUE(app->GetMainFrame()->OpenDocumentFile(first));
        ASSERT_TRUE(app->GetMainFrame()->OpenDocumentFile(second));
    }
    QFile::remove(first);
    auto app = Start();
    CMainFrame& frame = *app->GetMainFrame();
    const QList<QAction*> recent = frame.GetRecentFileActions();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0]->text().endsWith(second));
    EXPECT_TRUE(recent[1]->text().endsWith(first));
    EXPECT_EQ(recent[1]->statusTip(), QString::fromUtf8("指定のﾌｧｲﾙを開く"));

    recent[1]->trigger();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(frame.GetChildFrames().isEmpty());
    EXPECT_EQ(app->GetRecentFiles().Files(), QStringList{second});
    ASSERT_EQ(frame.GetRecentFileActions().size(), 1);
}

} // namespace

} // namespace pelto
