#pragma once
// CMainFrame: the main window. Document windows live in its MDI area; its
// menu bar shows one menu set while no document window is active and another
// while one is; one toolbar and the status bar share the menus' actions.
// The frame's aspects live in MainFrame_*.cpp.

#include "Retranslated.h"
#include "document/PictureFormat.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QMenu;

namespace pelto {

class CChildFrame;
class CIndicatorPanes;
class CWindowGoneWatch;
class CMenuList;
class CHelpWindow;
class CPeltoView;
class CLanguage;
class CRecentFileList;
struct CDocumentSlot;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Actions {
        QAction* fileNew;
        QAction* fileOpen;
        QAction* fileClose;
        QAction* fileSave;
        QAction* fileSaveAs;
        QAction* fileExportStates;
        QAction* appExit;
        QAction* editUndo;
        QAction* editRedo;
        QAction* editBgcolor;
        QAction* editCutOut;
        QAction* editMakebutton;
        QAction* editSaveStyle;
        QAction* editLoadStyle;
        QAction* viewJapanese;
        QAction* viewEnglish;
        QAction* viewToolbar;
        QAction* viewStatusBar;
        QAction* viewZoomIn;
        QAction* viewZoomOut;
        QAction* viewZoomActual;
        QAction* viewZoomFit;
        QAction* windowNew;
        QAction* windowCascade;
        QAction* windowTileHorz;
        QAction* windowArrange;
        QAction* windowClose;    // Ctrl+F4
        QAction* windowNext;     // Ctrl+Tab
        QAction* windowPrevious; // Ctrl+Shift+Tab
        QAction* helpFinder;
        QAction* appAbout;
        QAction* help;
        QAction* contextHelp;
    };

    CMainFrame(CRecentFileList& recentFiles, CLanguage& language, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens path in a new document window, or activates the window that
    // already shows it; null (after the messages) when the file is refused.
    CChildFrame* OpenDocumentFile(const QString& path);
    // Opens several files at once, each refusal in one message naming its
    // file; a single file is opened as OpenDocumentFile opens it. Returns how
    // many opened.
    int OpenDocumentFiles(const QStringList& paths);

    CChildFrame* GetActiveFrame() const;
    CPeltoView* GetActiveView() const;
    QList<CChildFrame*> GetChildFrames() const;
    QMdiArea* GetMdiArea() const { return m_pMdiArea; }
    QToolBar* GetToolBar() const { return m_pToolBar; }
    const Actions& GetActions() const { return m_actions; }
    const QList<QAction*>& GetRecentFileActions() const;
    const QList<QAction*>& GetWindowListActions() const;

    void OnFileNew();
    void OnFileOpen();
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    // The button states of the active view's values, shown, then written.
    void OnFileExportStates();
    void OnOpenRecentFile(int index);
    void OnWindowNew();
    void OnWindowClose();
    void OnWindowCascade();
    void OnWindowTileHorz();
    void OnWindowArrange();
    void OnHelp();
    void OnContextHelp();
    void OnAppAbout();
    void OnEditSaveStyle();
    void OnEditLoadStyle();

    // Enables the commands, swaps the menu set and titles the windows for
    // the active document window.
    void UpdateMenus();

    // The window system destroyed this window from outside: each modified
    // picture is asked about, without a Cancel since there is no window to
    // return to, and the program ends.
    void OnDestroyedFromOutside();

protected:
    // The document windows close first, then the frame, as on leaving the program.
    void closeEvent(QCloseEvent* event) override;
    // A new language sets every text again.
    void changeEvent(QEvent* event) override;
    // Files dropped anywhere on the frame open as File, Open would open them.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Once the window manager has framed the window, the frame too is fitted on the screen.
    void moveEvent(QMoveEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // The size, place and maximized state the window closed with, where a screen shows it.
    void RestorePlacement();
    // The geometry that puts the window, frame and all, whole on the screen
    // that shows most of it: a place saved at another scale or on a larger
    // screen may not fit, nor may the first size on a small screen.
    QRect FittedOnScreen() const;
    void UpdateFileMenus();
    void UpdateWindowMenu();
    void UpdateTitles();
    void UpdateZoomPane();
    void ScheduleUpdate();
    bool SaveTo(CDocumentSlot& slot, const QString& path, PictureFormat kind);
    // Asks about a modified picture before its last window closes; false
    // keeps it open (cancelled, or the save failed).
    bool MayCloseDocument(CDocumentSlot& slot);
    bool MayCloseFrame(CChildFrame& frame);
    // Asks about every modified picture, before any window closes.
    bool MayCloseEveryDocument();
    // Closes frames whose pictures were asked about already.
    void CloseAsked(const QList<CChildFrame*>& frames);
    CChildFrame* AddChildFrame(std::shared_ptr<CDocumentSlot> slot);
    // Opens path, handing the messages of a refusal to refused.
    CChildFrame* OpenReporting(const QString& path,
                               const std::function<void(const QStringList&)>& refused);
    QList<CChildFrame*> FramesShowing(const CDocumentSlot* slot) const;

    CRecentFileList& m_recentFiles;
    CLanguage& m_language;
    CRetranslated m_texts;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar = nullptr;
    CIndicatorPanes* m_pIndicators = nullptr;
    QLabel* m_pZoomPane = nullptr;
    CHelpWindow* m_pHelpWindow = nullptr;
    Actions m_actions{};
    QMenu* m_pFileMenuNoDocument = nullptr;
    QMenu* m_pFileMenuDocument = nullptr;
    QMenu* m_pEditMenu = nullptr;
    QMenu* m_pViewMenu = nullptr;
    QMenu* m_pWindowMenu = nullptr;
    QMenu* m_pHelpMenu = nullptr;
    QAction* m_pRecentPlaceholder = nullptr;
    QAction* m_pWindowListSeparator = nullptr;
    std::unique_ptr<CMenuList> m_pRecentFileMenu;
    std::unique_ptr<CMenuList> m_pWindowList;
    bool m_bDocumentMenus = true;
    bool m_bClosingAsked = false;
    bool m_bWindowGone = false;
    bool m_bFitWhenFramed = false;
    std::unique_ptr<CWindowGoneWatch> m_pGoneWatch;
};

} // namespace pelto
