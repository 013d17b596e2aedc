// Every way document windows go away, each run as the whole program in a
// child process whose exit status is checked. Freed memory is filled with
// garbage there (see the test's environment), so an object deleted while
// the toolkit still walks over it crashes instead of passing by luck.
#include "app/ChildFrame.h"
#include "app/DocumentSlot.h"
#include "app/MainFrame.h"
#include "app/PeltoApp.h"
#include "app/Program.h"
#include "dialogs/MessageBox.h"
#include "support/BmpBuilder.h"
#include "support/ModalControl.h"
#include "support/TempDir.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

namespace pelto {

namespace {

enum class Quit { Menu, MainCloseBox, WindowSystem };
// What happens to the windows before the program is left.
enum class Before {
    Nothing,
    ActivateFirst,     // the first window opened is the active one
    MaximiseActive,    // the active window fills the area
    MinimiseOne,       // one window is an icon
    CloseOneView,      // one of a document's two views closes
    FileCloseDocument, // File, Close on a document with two views
    ChildCloseBox,     // a click on the active child's close box
    CloseAllByHand,    // every child closed, newest first
};

struct QuitCase {
    int documents;
    int viewsEach;
    Before before;
    Quit way;
};

std::string Name(const QuitCase& c) {
    static const char* const kBefore[] = {"Nothing",       "ActivateFirst", "MaximiseActive",
                                          "MinimiseOne",   "CloseOneView",  "FileCloseDocument",
                                          "ChildCloseBox", "CloseAllByHand"};
    static const char* const kQuit[] = {"Menu", "MainCloseBox", "WindowSystem"};
    return std::to_string(c.documents) + "x" + std::to_string(c.viewsEach) + "_" +
           kBefore[int(c.before)] + "_" + kQuit[int(c.way)];
}

void PrintTo(const QuitCase& c, std::ostream* os) {
    *os << Name(c);
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::_Exit(3);
}

void Expect(bool condition, const std::string& what) {
    if (!condition) Fail(what);
}

QAction* MenuItem(CMainFrame& frame, const QString& text) {
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->menu())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text) return item;
    Fail("no menu item " + text.toStdString());
}

// Presses and releases the mouse on a child window's own close button.
void ClickCloseBox(QMdiSubWindow* child) {
    QStyleOptionTitleBar option;
    option.initFrom(child);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = child->windowFlags();
    option.titleBarState = int(child->windowState());
    option.rect = QRect(0, 0, child->width(),
                        child->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, child));
    const QRect box = child->style()->subControlRect(QStyle::CC_TitleBar, &option,
                                                     QStyle::SC_TitleBarCloseButton, child);
    Expect(box.isValid(), "the child window has no close box");
    // The button reacts to where the pointer hovers, as under a real mouse.
    QTest::mouseMove(child, box.center());
    QTest::mouseClick(child, Qt::LeftButton, {}, box.center());
}

class Scenario {
public:
    Scenario(const QuitCase& c, const std::string& folder) : m_case(c), m_folder(folder) {}

    void Start(CPeltoApp& app) {
        m_pFrame = app.GetMainFrame();
        QTimer::singleShot(0, m_pFrame, [this] { Run(); });
    }

private:
    void Run() {
        OpenWindows();
        Prepare();
        QCoreApplication::processEvents();
        Leave();
    }

    void OpenWindows() {
        for (int d = 0; d < m_case.documents; ++d) {
            const std::string path = m_folder + "/picture" + std::to_string(d) + ".bmp";
            WriteFileBytes(path, MakeBmp24(40 + d, 30, RGB(200, 10 * d, 90)));
            CChildFrame* frame = m_pFrame->OpenDocumentFile(QString::fromStdString(path));
            Expect(frame != nullptr, "cannot open " + path);
            m_documents.push_back(frame->GetSlot()->m_pDocument);
            for (int v = 1; v < m_case.viewsEach; ++v)
                m_pFrame->OnWindowNew();
        }
        QCoreApplication::processEvents();
        Expect(m_pFrame->GetChildFrames().size() == m_case.documents * m_case.viewsEach,
               "windows did not open");
    }

    void Prepare() {
        const QList<CChildFrame*> frames = m_pFrame->GetChildFrames();
        const int before = int(frames.size());
        switch (m_case.before) {
        case Before::Nothing:
            return;
        case Before::ActivateFirst:
            m_pFrame->GetMdiArea()->setActiveSubWindow(frames.first());
            return;
        case Before::MaximiseActive:
            m_pFrame->GetActiveFrame()->showMaximized();
            return;
        case Before::MinimiseOne:
            frames.first()->showMinimized();
            return;
        case Before::CloseOneView:
            frames.first()->close();
            Settle();
            Expect(m_pFrame->GetChildFrames().size() == before - 1, "the view did not close");
            Expect(!m_documents.front().expired(), "the document went with one of its views");
            return;
        case Before::FileCloseDocument: {
            const std::weak_ptr<CPeltoDoc> closing =
                m_pFrame->GetActiveFrame()->GetSlot()->m_pDocument;
            MenuItem(*m_pFrame, QString::fromUtf8("閉じる(&C)"))->trigger();
            Settle();
            Expect(m_pFrame->GetChildFrames().size() == before - m_case.viewsEach,
                   "File, Close left windows of the document");
            Expect(closing.expired(), "the closed document is still alive");
            return;
        }
        case Before::ChildCloseBox:
            ClickCloseBox(m_pFrame->GetActiveFrame());
            Settle();
            Expect(m_pFrame->GetChildFrames().size() == before - 1, "the close box did nothing");
            return;
        case Before::CloseAllByHand:
            for (int i = before - 1; i >= 0; --i)
                frames[i]->close();
            Settle();
            Expect(m_pFrame->GetChildFrames().isEmpty(), "windows stayed open");
            for (const auto& document : m_documents)
                Expect(document.expired(), "a document outlived its windows");
            return;
        }
    }

    void Leave() {
        switch (m_case.way) {
        case Quit::Menu:
            MenuItem(*m_pFrame, QString::fromUtf8("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"))->trigger();
            return;
        case Quit::MainCloseBox:
            m_pFrame->close();
            return;
        case Quit::WindowSystem:
            m_pFrame->windowHandle()->close();
            return;
        }
    }

    // Closed windows are deleted once the event loop runs.
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QuitCase m_case;
    std::string m_folder;
    CMainFrame* m_pFrame = nullptr;
    std::vector<std::weak_ptr<CPeltoDoc>> m_documents;
};

int RunScenario(const QuitCase& c) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir settings, files;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(settings.Path()));
    // A box would wait for a click that never comes; nothing here may ask anything.
    modal::AnswerMessageBoxes([](const QString& text) { Fail(text.toStdString()); });
    Scenario scenario(c, files.Path());
    char name[] = "PeltoTool";
    char* argv[] = {name, nullptr};
    return RunProgram(1, argv, [&](CPeltoApp& app) { scenario.Start(app); });
}

std::vector<QuitCase> AllCases() {
    std::vector<QuitCase> cases;
    const Before kEach[] = {Before::Nothing, Before::ActivateFirst, Before::MaximiseActive,
                            Before::MinimiseOne};
    int order = 0;
    for (int documents : {1, 2, 3})
        for (int views : {1, 2})
            for (Quit way : {Quit::Menu, Quit::MainCloseBox, Quit::WindowSystem})
                cases.push_back({documents, views, kEach[order++ % std::size(kEach)], way});
    for (Quit way : {Quit::Menu, Quit::MainCloseBox, Quit::WindowSystem}) {
        cases.push_back({1, 2, Before::CloseOneView, way});
        cases.push_back({2, 2, Before::FileCloseDocument, way});
        cases.push_back({2, 1, Before::ChildCloseBox, way});
        cases.push_back({2, 2, Before::CloseAllByHand, way});
    }
    return cases;
}

class QuitTest : public testing::TestWithParam<QuitCase> {};

TEST_P(QuitTest, EndsTheProgramWithExitCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(RunScenario(GetParam())), testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(EveryWay, QuitTest, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<QuitCase>& param) {
                             return Name(param.param);
                         });

} // namespace

} // namespace pelto
