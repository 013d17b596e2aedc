#pragma once
// Drives the real program in the test process: settings in a fresh folder,
// message boxes, file dialogs and parameter dialogs answered by the test.

#include "app/ChildFrame.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "app/PeltoApp.h"
#include "dialogs/MessageBox.h"
#include "support/BmpBuilder.h"
#include "support/ModalControl.h"
#include "support/TempDir.h"
#include "view/ParamDialogs.h"

#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace pelto {

class AppFixture : public testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(m_settings.Path()));
        modal::AnswerMessageBoxes([this](const QString& text) { m_messages << text; });
        modal::AnswerFileDialogs([this](modal::FileDialogKind kind, const QString&) {
            m_dialogKinds.push_back(kind);
            return m_nextPath;
        });
        modal::AnswerParamDialogs([](int&, bool&) { return true; },
                                  [](ButtonParams&) { return true; });
    }
    void TearDown() override {
        modal::AnswerMessageBoxes({});
        modal::AnswerFileDialogs({});
        modal::AnswerParamDialogs({}, {});
    }

    std::unique_ptr<CPeltoApp> Start(const QStringList& arguments = {}) {
        auto app = std::make_unique<CPeltoApp>();
        m_bStarted = app->InitInstance(arguments);
        if (m_bStarted) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(app->GetMainFrame()));
        }
        return app;
    }

    // A grey square on white, size x size.
    QString WritePicture(const std::string& name, int size = 48) {
        const std::string path = m_files.File(name);
        WriteFileBytes(path, MakeBmp24(size, size, [size](int x, int y) {
                           const bool inside =
                               x > size / 4 && x < size * 3 / 4 && y > size / 4 && y < size * 3 / 4;
                           return inside ? RGB(90, 90, 90) : RGB(250, 250, 250);
                       }));
        return QString::fromStdString(path);
    }
    QString WriteBytes(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(m_files.File(name), bytes);
        return QString::fromStdString(m_files.File(name));
    }

    static QStringList MenuTitles(const CMainFrame& frame) {
        QStringList titles;
        for (const QAction* menu : frame.menuBar()->actions())
            titles << menu->text();
        return titles;
    }
    static void Settle() { QCoreApplication::processEvents(); }

    TempDir m_settings;
    TempDir m_files;
    QStringList m_messages;
    std::vector<modal::FileDialogKind> m_dialogKinds;
    QString m_nextPath;
    bool m_bStarted = false;
};

} // namespace pelto
