// The main frame's construction: MDI area, toolbar and status bar.
#include "MainFrame.h"

#include "Language.h"

#include "AppStrings.h"
#include "ChildFrame.h"
#include "HelpWindow.h"
#include "IndicatorPanes.h"
#include "MenuList.h"
#include "SettingsKeys.h"
#include "WindowGoneWatch.h"
#include "WindowLayout.h"
#include "view/PeltoView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <utility>

// The resources live in a static library: they are registered by hand, from
// outside any namespace, as the toolkit's macro requires.
static void InitResources() {
    Q_INIT_RESOURCE(pelto);
}

namespace pelto {

namespace {
constexpr QSize kToolButtonImage(16, 15);
constexpr QSize kInitialSize(800, 600);

// The screen that shows most of place; none where no screen shows any of it.
const QScreen* ScreenShowingMost(QRect place) {
    const QScreen* most = nullptr;
    qint64 mostShown = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry() & place;
        const qint64 area = qint64(shown.width()) * shown.height();
        if (area > mostShown) {
            most = screen;
            mostShown = area;
        }
    }
    return most;
}
} // namespace

CMainFrame::CMainFrame(CRecentFileList& recentFiles, CLanguage& language, QWidget* parent)
    : QMainWindow(parent), m_recentFiles(recentFiles), m_language(language),
      m_pMdiArea(new QMdiArea) {
    InitResources();
    QIcon icon(QStringLiteral(":/icons/app32.png"));
    icon.addFile(QStringLiteral(":/icons/app16.png"));
    setWindowIcon(icon);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateMenus);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    resize(kInitialSize);
    RestorePlacement();
    UpdateMenus();
    m_pGoneWatch = std::make_unique<CWindowGoneWatch>(*this, [this] { OnDestroyedFromOutside(); });
}

CMainFrame::~CMainFrame() {
    // The windows go after this frame's own part, and may still signal as they
    // close and go: none of them may call it back.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    m_texts.ApplyAll();
    m_actions.viewJapanese->setChecked(m_language.Current() == Language::Japanese);
    m_actions.viewEnglish->setChecked(m_language.Current() == Language::English);
    UpdateMenus();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every modified picture is asked about before any window goes, so a
    // cancel leaves the program as it was.
    if (!MayCloseEveryDocument()) {
        event->ignore();
        return;
    }
    m_bClosingAsked = true;
    m_pMdiArea->closeAllSubWindows();
    m_bClosingAsked = false;
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) AppSettings().setValue(kMainWindowGeometryKey, saveGeometry());
}

void CMainFrame::RestorePlacement() {
    // The window manager's frame is known only once it has framed the window:
    // the window is fitted then once more, frame and all.
    m_bFitWhenFramed = true;
    const QByteArray saved = AppSettings().value(kMainWindowGeometryKey).toByteArray();
    // The toolkit refuses a place saved on a screen much narrower or wider (as
    // the same screen is at another scale), and the window keeps its first
    // size; a screen unplugged since may have taken the whole place with it.
    // Either way the window is then fitted on a screen.
    if (!saved.isEmpty() && restoreGeometry(saved) && !ScreenShowingMost(frameGeometry())) {
        setWindowState(Qt::WindowNoState);
        resize(kInitialSize);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().topLeft());
    }
    // A window not placed yet is placed by the window manager: only its size is fitted here.
    const QRect fitted = FittedOnScreen();
    if (testAttribute(Qt::WA_Moved))
        setGeometry(fitted);
    else
        resize(fitted.size());
}

QRect CMainFrame::FittedOnScreen() const {
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QScreen* screen = ScreenShowingMost(outer);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen ||
        windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return inner;
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                   outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // Until the window manager has framed the window, a frame like the style's
    // own is allowed for: a window exactly the screen's size may be taken for
    // a full-screen one and lose its frame.
    if (frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        frame = QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this),
                         border, border);
    }
    return WholeInside(screen->availableGeometry(), inner, frame);
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (m_bFitWhenFramed && frameGeometry() != geometry()) {
        m_bFitWhenFramed = false;
        const QRect fitted = FittedOnScreen();
        if (fitted != geometry()) setGeometry(fitted);
    }
}

void CMainFrame::OnDestroyedFromOutside() {
    m_bWindowGone = true;
    MayCloseEveryDocument();
    m_bClosingAsked = true;
    m_pMdiArea->closeAllSubWindows();
    QCoreApplication::quit();
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new QToolBar(this);
    // The menu item's text without its mnemonic, "(&T)" or "&" alone.
    m_texts.Follow([this] {
        m_pToolBar->setWindowTitle(appstr::Tr(appstr::kItemViewToolbar)
                                       .remove(QRegularExpression(QStringLiteral("\\(&.\\)")))
                                       .remove(u'&'));
    });
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setIconSize(kToolButtonImage);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setMovable(true);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);

    // Drawings rather than bitmaps, so a screen with more dots per pixel gets
    // sharp edges instead of enlarged, blurred ones.
    const std::pair<QAction*, const char*> buttons[] = {{m_actions.fileOpen, "open"},
                                                        {m_actions.fileSave, "save"},
                                                        {m_actions.editBgcolor, "background"},
                                                        {m_actions.editMakebutton, "button"},
                                                        {m_actions.helpFinder, "help"}};
    for (const auto& [action, name] : buttons)
        action->setIcon(QIcon(QStringLiteral(":/icons/tool-%1.svg").arg(QLatin1String(name))));
    m_pToolBar->addAction(m_actions.fileOpen);
    m_pToolBar->addAction(m_actions.fileSave);
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(m_actions.editBgcolor);
    m_pToolBar->addAction(m_actions.editMakebutton);
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(m_actions.helpFinder);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    connect(m_actions.viewToolbar, &QAction::toggled, m_pToolBar, &QToolBar::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, m_actions.viewToolbar, [this](bool) {
        // A floating bar closed by its own button unticks the menu item too.
        m_actions.viewToolbar->setChecked(!m_pToolBar->isHidden());
    });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // A normal widget: prompts cover it while shown and it comes back after.
    bar->addWidget(m_texts.Label(new QLabel, appstr::kIdlePrompt), 1);
    m_pZoomPane = new QLabel;
    m_pZoomPane->setObjectName(QStringLiteral("zoomPane"));
    m_pZoomPane->setFrameShape(QFrame::Panel);
    m_pZoomPane->setFrameShadow(QFrame::Sunken);
    m_pZoomPane->setAlignment(Qt::AlignCenter);
    m_pZoomPane->setMinimumWidth(
        m_pZoomPane->fontMetrics().horizontalAdvance(QStringLiteral("3200 %")) + 8);
    bar->addPermanentWidget(m_pZoomPane);
    m_pIndicators = new CIndicatorPanes(bar);
    connect(m_actions.viewStatusBar, &QAction::toggled, bar, &QStatusBar::setVisible);
}

// The active view's zoom; blank without one.
void CMainFrame::UpdateZoomPane() {
    const CPeltoView* view = GetActiveView();
    m_pZoomPane->setText(view ? ZoomText(view->GetZoom()) : QString());
}

void CMainFrame::ScheduleUpdate() {
    // A closing window is hidden only once its close event has been handled.
    QTimer::singleShot(0, this, &CMainFrame::UpdateMenus);
}

} // namespace pelto
