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

#include <functional>
#include <type_traits>

namespace pelto {

namespace {

// A command's handler: the frame's own, the MDI area's, or else the active view's.
template <auto command> void Run(CMainFrame& frame) {
    if constexpr (std::is_invocable_v<decltype(command), CMainFrame&>)
        std::invoke(command, frame);
    else if constexpr (std::is_invocable_v<decltype(command), QMdiArea&>)
        std::invoke(command, *frame.GetMdiArea());
    else if (CPeltoView* view = frame.GetActiveView())
        std::invoke(command, *view);
}

// The unsaved mark: Qt shows a title's "[*]" as "*" while the window is
// modified, and "[*][*]" as a literal "[*]". The placeholder stands in a
// title only while its document is modified, and stands there whenever the
// flag changes, so a maximised window passes the flag on to the main frame.
constexpr QLatin1String kMark("[*]"), kLiteralMark("[*][*]");

void SetMarkedTitle(QWidget& window, const QString& title, bool modified) {
    const QString escaped = QString(title).replace(kMark, kLiteralMark);
    if (modified) {
        window.setWindowTitle(escaped + kMark);
        window.setWindowModified(true);
    } else {
        window.setWindowModified(false);
        window.setWindowTitle(escaped);
    }
}

// The title as the window shows it, for the Window menu.
QString ShownTitle(const QWidget& window) {
    QString title = window.windowTitle();
    if (window.isWindowModified() && title.endsWith(kMark))
        title.replace(title.size() - kMark.size(), kMark.size(), u'*');
    return title.replace(kLiteralMark, kMark);
}

struct ActionRow {
    QAction* CMainFrame::Actions::*action;
    // Null for a key without a menu item.
    const char* item;
    const char* command;
    void (*run)(CMainFrame&);
    QList<QKeySequence> keys = {};
};

} // namespace

void CMainFrame::CreateActions() {
    using namespace appstr;
    using Key = QKeySequence;
    const auto keys = [](auto... combinations) { return QList<Key>{Key(combinations)...}; };
    // Standard keys only where every Linux desktop's are exactly ours; elsewhere
    // the standard swaps or adds keys (Close is Ctrl+W, Undo adds F14, ZoomIn lacks
    // Ctrl+=, the window keys add Forward and Back), so ours are spelled out.
    const auto standard = [](Key::StandardKey key) { return Key::keyBindings(key); };
    const ActionRow rows[] = {
        {&Actions::fileNew, nullptr, nullptr, Run<&CMainFrame::OnFileNew>, standard(Key::New)},
        {&Actions::fileOpen, kItemFileOpen, kCmdFileOpen, Run<&CMainFrame::OnFileOpen>,
         standard(Key::Open)},
        {&Actions::fileClose, kItemFileClose, kCmdFileClose, Run<&CMainFrame::OnFileClose>},
        {&Actions::fileSave, kItemFileSave, kCmdFileSave, Run<&CMainFrame::OnFileSave>,
         standard(Key::Save)},
        {&Actions::fileSaveAs, kItemFileSaveAs, kCmdFileSaveAs, Run<&CMainFrame::OnFileSaveAs>},
        {&Actions::fileExportStates, kItemFileExportStates, kCmdFileExportStates,
         Run<&CMainFrame::OnFileExportStates>},
        {&Actions::appExit, kItemAppExit, kCmdAppExit, Run<&QWidget::close>},
        {&Actions::editUndo, kItemEditUndo, kCmdEditUndo, Run<&CPeltoView::OnEditUndo>,
         keys(Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace)},
        {&Actions::editRedo, kItemEditRedo, kCmdEditRedo, Run<&CPeltoView::OnEditRedo>,
         keys(Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {&Actions::editBgcolor, kItemEditBgcolor, kCmdEditBgcolor, Run<&CPeltoView::OnEditBgcolor>},
        {&Actions::editCutOut, kItemEditCutOut, kCmdEditCutOut, Run<&CPeltoView::OnEditCutOut>},
        {&Actions::editMakebutton, kItemEditMakebutton, kCmdEditMakebutton,
         Run<&CPeltoView::OnEditMakebutton>},
        {&Actions::editSaveStyle, kItemEditSaveStyle, kCmdEditSaveStyle,
         Run<&CMainFrame::OnEditSaveStyle>},
        {&Actions::editLoadStyle, kItemEditLoadStyle, kCmdEditLoadStyle,
         Run<&CMainFrame::OnEditLoadStyle>},
        {&Actions::viewToolbar, kItemViewToolbar, kCmdViewToolbar, nullptr},
        {&Actions::viewStatusBar, kItemViewStatusBar, kCmdViewStatusBar, nullptr},
        {&Actions::viewZoomIn, kItemViewZoomIn, kCmdViewZoomIn, Run<&CPeltoView::OnViewZoomIn>,
         keys(Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal)},
        {&Actions::viewZoomOut, kItemViewZoomOut, kCmdViewZoomOut, Run<&CPeltoView::OnViewZoomOut>,
         standard(Key::ZoomOut)},
        {&Actions::viewZoomActual, kItemViewZoomActual, kCmdViewZoomActual,
         Run<&CPeltoView::OnViewZoomActual>, keys(Qt::CTRL | Qt::Key_0)},
        {&Actions::viewZoomFit, kItemViewZoomFit, kCmdViewZoomFit, Run<&CPeltoView::OnViewZoomFit>},
        {&Actions::windowNew, kItemWindowNew, kCmdWindowNew, Run<&CMainFrame::OnWindowNew>},
        {&Actions::windowCascade, kItemWindowCascade, kCmdWindowCascade,
         Run<&CMainFrame::OnWindowCascade>},
        {&Actions::windowTileHorz, kItemWindowTileHorz, kCmdWindowTileHorz,
         Run<&CMainFrame::OnWindowTileHorz>},
        {&Actions::windowArrange, kItemWindowArrange, kCmdWindowArrange,
         Run<&CMainFrame::OnWindowArrange>},
        // The usual keys of multiple-document programs, beside the menus.
        {&Actions::windowClose, nullptr, nullptr, Run<&CMainFrame::OnWindowClose>,
         keys(Qt::CTRL | Qt::Key_F4)},
        {&Actions::windowNext, nullptr, nullptr, Run<&QMdiArea::activateNextSubWindow>,
         keys(Qt::CTRL | Qt::Key_Tab)},
        {&Actions::windowPrevious, nullptr, nullptr, Run<&QMdiArea::activatePreviousSubWindow>,
         keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
        {&Actions::helpFinder, kItemHelpFinder, kCmdHelpFinder, Run<&CMainFrame::OnHelp>},
        {&Actions::appAbout, kItemAppAbout, kCmdAppAbout, Run<&CMainFrame::OnAppAbout>},
        {&Actions::help, nullptr, nullptr, Run<&CMainFrame::OnHelp>, standard(Key::HelpContents)},
        {&Actions::contextHelp, nullptr, nullptr, Run<&CMainFrame::OnContextHelp>,
         standard(Key::WhatsThis)},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(this);
        m_actions.*row.action = action;
        if (row.item) m_texts.Command(action, row.item, row.command);
        // The keys work whichever menu set is showing.
        if (!row.keys.isEmpty()) {
            action->setShortcuts(row.keys);
            addAction(action);
        }
        if (row.run)
            connect(action, &QAction::triggered, this, [this, run = row.run] { run(*this); });
    }
    for (QAction* toggle : {m_actions.viewToolbar, m_actions.viewStatusBar}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }

    // Each language named in itself; the choice stays for the next start.
    auto* languages = new QActionGroup(this);
    m_actions.viewJapanese = new QAction(QString::fromUtf8(kLanguageJapanese), languages);
    m_actions.viewEnglish = new QAction(QString::fromUtf8(kLanguageEnglish), languages);
    for (const auto& [action, language] : {std::pair{m_actions.viewJapanese, Language::Japanese},
                                           std::pair{m_actions.viewEnglish, Language::English}}) {
        action->setCheckable(true);
        action->setChecked(m_language.Current() == language);
        connect(action, &QAction::triggered, this,
                [this, chosen = language] { m_language.Choose(chosen); });
    }

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
            menu->addActions({m_actions.fileClose, m_actions.fileSave, m_actions.fileSaveAs,
                              m_actions.fileExportStates});
        menu->addSeparator();
        menu->addAction(m_pRecentPlaceholder);
        menu->addSeparator();
        menu->addAction(m_actions.appExit);
    }
    m_pRecentFileMenu = std::make_unique<CMenuList>(
        QList<QMenu*>{m_pFileMenuDocument, m_pFileMenuNoDocument}, m_pRecentPlaceholder);

    m_pEditMenu = m_texts.Title(new QMenu(this), kMenuEdit);
    m_pEditMenu->addActions({m_actions.editUndo, m_actions.editRedo});
    m_pEditMenu->addSeparator();
    m_pEditMenu->addActions({m_actions.editBgcolor, m_actions.editCutOut});
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
        auto* action = new QAction(NumberedLabel(i + 1, ShownTitle(*frame)));
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
            SetMarkedTitle(*frames[i],
                           frames.size() == 1 ? slot->GetTitle()
                                              : tr("%1:%2").arg(slot->GetTitle()).arg(i + 1),
                           slot->m_pDocument->IsModified());
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
    m_actions.editRedo->setEnabled(hasDocument && view->OnUpdateEditRedo());
    for (QAction* command : {m_actions.editCutOut, m_actions.fileExportStates})
        command->setEnabled(hasDocument && view->GetDocument().HasSelection());

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
