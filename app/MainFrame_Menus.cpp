// The main frame's commands: the actions, the two menu sets, and the update
// step that enables the commands for the active document window.
#include "AppStrings.h"
#include "ChildFrame.h"
#include "DocumentSlot.h"
#include "Language.h"
#include "MainFrame.h"
#include "MenuList.h"
#include "RecentFileList.h"
#include "view/PeltoView.h"

#include <QActionGroup>
#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace pelto {

void CMainFrame::CreateActions() {
    using namespace appstr;
    Actions& a = m_actions;
    a.fileNew = new QAction(this);
    a.fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(a.fileNew, &QAction::triggered, this, &CMainFrame::OnFileNew);

    a.fileOpen = m_texts.Command(new QAction(this), kItemFileOpen, kCmdFileOpen);
    a.fileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(a.fileOpen, &QAction::triggered, this, &CMainFrame::OnFileOpen);
    a.fileClose = m_texts.Command(new QAction(this), kItemFileClose, kCmdFileClose);
    connect(a.fileClose, &QAction::triggered, this, &CMainFrame::OnFileClose);
    a.fileSave = m_texts.Command(new QAction(this), kItemFileSave, kCmdFileSave);
    a.fileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(a.fileSave, &QAction::triggered, this, &CMainFrame::OnFileSave);
    a.fileSaveAs = m_texts.Command(new QAction(this), kItemFileSaveAs, kCmdFileSaveAs);
    connect(a.fileSaveAs, &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    a.appExit = m_texts.Command(new QAction(this), kItemAppExit, kCmdAppExit);
    connect(a.appExit, &QAction::triggered, this, &QWidget::close);

    a.editUndo = m_texts.Command(new QAction(this), kItemEditUndo, kCmdEditUndo);
    a.editUndo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    a.editBgcolor = m_texts.Command(new QAction(this), kItemEditBgcolor, kCmdEditBgcolor);
    a.editMakebutton = m_texts.Command(new QAction(this), kItemEditMakebutton, kCmdEditMakebutton);
    // Edit commands go to the active view.
    const auto toView = [this](void (CPeltoView::*command)()) {
        return [this, command] {
            if (CPeltoView* view = GetActiveView()) (view->*command)();
        };
    };
    connect(a.editUndo, &QAction::triggered, this, toView(&CPeltoView::OnEditUndo));
    connect(a.editBgcolor, &QAction::triggered, this, toView(&CPeltoView::OnEditBgcolor));
    connect(a.editMakebutton, &QAction::triggered, this, toView(&CPeltoView::OnEditMakebutton));

    a.viewToolbar = m_texts.Command(new QAction(this), kItemViewToolbar, kCmdViewToolbar);
    a.viewStatusBar = m_texts.Command(new QAction(this), kItemViewStatusBar, kCmdViewStatusBar);
    for (QAction* toggle : {a.viewToolbar, a.viewStatusBar}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }

    a.viewZoomIn = m_texts.Command(new QAction(this), kItemViewZoomIn, kCmdViewZoomIn);
    a.viewZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    a.viewZoomOut = m_texts.Command(new QAction(this), kItemViewZoomOut, kCmdViewZoomOut);
    a.viewZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    a.viewZoomActual = m_texts.Command(new QAction(this), kItemViewZoomActual, kCmdViewZoomActual);
    a.viewZoomActual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    a.viewZoomFit = m_texts.Command(new QAction(this), kItemViewZoomFit, kCmdViewZoomFit);
    connect(a.viewZoomIn, &QAction::triggered, this, toView(&CPeltoView::OnViewZoomIn));
    connect(a.viewZoomOut, &QAction::triggered, this, toView(&CPeltoView::OnViewZoomOut));
    connect(a.viewZoomActual, &QAction::triggered, this, toView(&CPeltoView::OnViewZoomActual));
    connect(a.viewZoomFit, &QAction::triggered, this, toView(&CPeltoView::OnViewZoomFit));

    a.windowNew = m_texts.Command(new QAction(this), kItemWindowNew, kCmdWindowNew);
    connect(a.windowNew, &QAction::triggered, this, &CMainFrame::OnWindowNew);
    a.windowCascade = m_texts.Command(new QAction(this), kItemWindowCascade, kCmdWindowCascade);
    connect(a.windowCascade, &QAction::triggered, this, &CMainFrame::OnWindowCascade);
    a.windowTileHorz = m_texts.Command(new QAction(this), kItemWindowTileHorz, kCmdWindowTileHorz);
    connect(a.windowTileHorz, &QAction::triggered, this, &CMainFrame::OnWindowTileHorz);
    a.windowArrange = m_texts.Command(new QAction(this), kItemWindowArrange, kCmdWindowArrange);
    connect(a.windowArrange, &QAction::triggered, this, &CMainFrame::OnWindowArrange);

    // The usual keys of multiple-document programs, beside the menus.
    a.windowClose = new QAction(this);
    a.windowClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(a.windowClose, &QAction::triggered, this, &CMainFrame::OnWindowClose);
    a.windowNext = new QAction(this);
    a.windowNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
    connect(a.windowNext, &QAction::triggered, m_pMdiArea, &QMdiArea::activateNextSubWindow);
    a.windowPrevious = new QAction(this);
    a.windowPrevious->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab));
    connect(a.windowPrevious, &QAction::triggered, m_pMdiArea,
            &QMdiArea::activatePreviousSubWindow);

    a.editSaveStyle = m_texts.Command(new QAction(this), kItemEditSaveStyle, kCmdEditSaveStyle);
    connect(a.editSaveStyle, &QAction::triggered, this, &CMainFrame::OnEditSaveStyle);
    a.editLoadStyle = m_texts.Command(new QAction(this), kItemEditLoadStyle, kCmdEditLoadStyle);
    connect(a.editLoadStyle, &QAction::triggered, this, &CMainFrame::OnEditLoadStyle);

    // Each language named in itself; the choice stays for the next start.
    auto* languages = new QActionGroup(this);
    a.viewJapanese = new QAction(QString::fromUtf8(kLanguageJapanese), languages);
    a.viewEnglish = new QAction(QString::fromUtf8(kLanguageEnglish), languages);
    for (const auto& [action, language] : {std::pair{a.viewJapanese, Language::Japanese},
                                           std::pair{a.viewEnglish, Language::English}}) {
        action->setCheckable(true);
        action->setChecked(m_language.Current() == language);
        connect(action, &QAction::triggered, this,
                [this, chosen = language] { m_language.Choose(chosen); });
    }

    a.helpFinder = m_texts.Command(new QAction(this), kItemHelpFinder, kCmdHelpFinder);
    connect(a.helpFinder, &QAction::triggered, this, &CMainFrame::OnHelp);
    a.appAbout = m_texts.Command(new QAction(this), kItemAppAbout, kCmdAppAbout);
    connect(a.appAbout, &QAction::triggered, this, &CMainFrame::OnAppAbout);
    a.help = new QAction(this);
    a.help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(a.help, &QAction::triggered, this, &CMainFrame::OnHelp);
    a.contextHelp = new QAction(this);
    a.contextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(a.contextHelp, &QAction::triggered, this, &CMainFrame::OnContextHelp);

    // The keys work whichever menu set is showing.
    addActions({a.fileNew, a.fileOpen, a.fileSave, a.editUndo, a.viewZoomIn, a.viewZoomOut,
                a.viewZoomActual, a.help, a.contextHelp, a.windowClose, a.windowNext,
                a.windowPrevious});

    m_pRecentPlaceholder = m_texts.Item(new QAction(this), kItemRecentFile);
    m_pRecentPlaceholder->setEnabled(false);
}

void CMainFrame::CreateMenus() {
    using namespace appstr;
    // The recent files take the placeholder's place in both File menus.
    m_pFileMenuNoDocument = m_texts.Title(new QMenu(this), kMenuFile);
    m_pFileMenuDocument = m_texts.Title(new QMenu(this), kMenuFile);
    for (QMenu* menu : {m_pFileMenuNoDocument, m_pFileMenuDocument}) {
        menu->addAction(m_actions.fileOpen);
        if (menu == m_pFileMenuDocument)
            menu->addActions({m_actions.fileClose, m_actions.fileSave, m_actions.fileSaveAs});
        menu->addSeparator();
        menu->addAction(m_pRecentPlaceholder);
        menu->addSeparator();
        menu->addAction(m_actions.appExit);
    }
    m_pRecentFileMenu = std::make_unique<CMenuList>(
        QList<QMenu*>{m_pFileMenuDocument, m_pFileMenuNoDocument}, m_pRecentPlaceholder);

    m_pEditMenu = m_texts.Title(new QMenu(this), kMenuEdit);
    m_pEditMenu->addAction(m_actions.editUndo);
    m_pEditMenu->addSeparator();
    m_pEditMenu->addAction(m_actions.editBgcolor);
    m_pEditMenu->addAction(m_actions.editMakebutton);
    m_pEditMenu->addSeparator();
    m_pEditMenu->addActions({m_actions.editSaveStyle, m_actions.editLoadStyle});

    m_pViewMenu = m_texts.Title(new QMenu(this), kMenuView);
    m_pViewMenu->addAction(m_actions.viewToolbar);
    m_pViewMenu->addAction(m_actions.viewStatusBar);
    m_pViewMenu->addSeparator();
    m_pViewMenu->addActions({m_actions.viewZoomIn, m_actions.viewZoomOut, m_actions.viewZoomActual,
                             m_actions.viewZoomFit});
    m_pViewMenu->addSeparator();
    QMenu* language = m_texts.Title(m_pViewMenu->addMenu(QString()), kMenuLanguage);
    language->addActions({m_actions.viewJapanese, m_actions.viewEnglish});

    // The open windows follow a separator of their own.
    m_pWindowMenu = m_texts.Title(new QMenu(this), kMenuWindow);
    m_pWindowMenu->addActions({m_actions.windowNew, m_actions.windowCascade,
                               m_actions.windowTileHorz, m_actions.windowArrange});
    m_pWindowListSeparator = m_pWindowMenu->addSeparator();
    m_pWindowList = std::make_unique<CMenuList>(QList<QMenu*>{m_pWindowMenu}, nullptr);

    m_pHelpMenu = m_texts.Title(new QMenu(this), kMenuHelp);
    m_pHelpMenu->addAction(m_actions.helpFinder);
    m_pHelpMenu->addSeparator();
    m_pHelpMenu->addAction(m_actions.appAbout);

    UpdateFileMenus();
}

const QList<QAction*>& CMainFrame::GetRecentFileActions() const {
    return m_pRecentFileMenu->Entries();
}

const QList<QAction*>& CMainFrame::GetWindowListActions() const {
    return m_pWindowList->Entries();
}

void CMainFrame::UpdateFileMenus() {
    QList<QAction*> entries;
    const QStringList& files = m_recentFiles.Files();
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(NumberedLabel(i + 1, QDir::toNativeSeparators(files[i])));
        action->setStatusTip(appstr::Tr(appstr::kCmdRecentFile));
        connect(action, &QAction::triggered, this, [this, i] { OnOpenRecentFile(i); });
        entries.append(action);
    }
    m_pRecentFileMenu->Replace(entries);
    m_pRecentPlaceholder->setVisible(entries.isEmpty());
}

void CMainFrame::UpdateWindowMenu() {
    QList<QAction*> entries;
    const QList<CChildFrame*> frames = GetChildFrames();
    for (int i = 0; i < frames.size(); ++i) {
        CChildFrame* frame = frames[i];
        auto* action = new QAction(NumberedLabel(i + 1, frame->windowTitle()));
        // Only the active window's entry carries a mark; the others show none at all.
        action->setCheckable(frame == GetActiveFrame());
        action->setChecked(frame == GetActiveFrame());
        connect(action, &QAction::triggered, this,
                [this, frame] { m_pMdiArea->setActiveSubWindow(frame); });
        entries.append(action);
    }
    m_pWindowList->Replace(entries);
    m_pWindowListSeparator->setVisible(!entries.isEmpty());
}

void CMainFrame::UpdateTitles() {
    QList<const CDocumentSlot*> documents;
    for (CChildFrame* frame : GetChildFrames())
        if (!documents.contains(frame->GetSlot().get())) documents.append(frame->GetSlot().get());
    // Several windows on one document are told apart by a number.
    for (const CDocumentSlot* slot : documents) {
        const QList<CChildFrame*> frames = FramesShowing(slot);
        for (int i = 0; i < frames.size(); ++i)
            frames[i]->setWindowTitle(frames.size() == 1
                                          ? slot->GetTitle()
                                          : tr("%1:%2").arg(slot->GetTitle()).arg(i + 1));
    }
    // A maximised window adds " - [its title]" to the frame's title itself.
    const CChildFrame* active = GetActiveFrame();
    setWindowTitle(
        active && !active->isMaximized()
            ? tr("%1 - %2").arg(appstr::Tr(appstr::kMainTitle), active->GetSlot()->GetTitle())
            : appstr::Tr(appstr::kMainTitle));
}

void CMainFrame::UpdateMenus() {
    CPeltoView* view = GetActiveView();
    const bool hasDocument = view != nullptr;
    for (QAction* command :
         {m_actions.fileClose, m_actions.fileSave, m_actions.fileSaveAs, m_actions.editBgcolor,
          m_actions.editMakebutton, m_actions.viewZoomIn, m_actions.viewZoomOut,
          m_actions.viewZoomActual, m_actions.viewZoomFit, m_actions.windowNew,
          m_actions.windowCascade, m_actions.windowTileHorz, m_actions.windowArrange})
        command->setEnabled(hasDocument);
    m_actions.editUndo->setEnabled(hasDocument && view->OnUpdateEditUndo());

    if (hasDocument != m_bDocumentMenus || menuBar()->actions().isEmpty()) {
        m_bDocumentMenus = hasDocument;
        menuBar()->clear();
        const QList<QMenu*> menus =
            hasDocument ? QList<QMenu*>{m_pFileMenuDocument, m_pEditMenu, m_pViewMenu,
                                        m_pWindowMenu, m_pHelpMenu}
                        : QList<QMenu*>{m_pFileMenuNoDocument, m_pViewMenu, m_pHelpMenu};
        for (QMenu* menu : menus)
            menuBar()->addMenu(menu);
    }
    UpdateTitles();
    UpdateWindowMenu();
    UpdateZoomPane();
}

} // namespace pelto
