#include "dialogs/DialogLayout.h"
#include "dialogs/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace pelto {

namespace {

// The real box, not the tests' stand-in: caption, icon, one button, the
// dialogs' font, and over the window it was asked for from.
TEST(AfxMessageBox, IsAWarningInTheDialogFontOverItsParentsWindow) {
    QWidget window;
    auto* child = new QWidget(&window);
    window.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("PeltoTool"));
        EXPECT_EQ(box->text(), QStringLiteral("選択範囲を指定してください"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->font(), DialogFont());
        EXPECT_EQ(box->parentWidget(), child);
        box->accept();
    });
    AfxMessageBox(QStringLiteral("選択範囲を指定してください"), child);
    EXPECT_TRUE(seen);
}

// A route takes the boxes while it lives and hands them back to the one before.
TEST(AfxMessageBox, GoesToTheInnermostRouteWhileItLives) {
    QStringList outer, inner;
    {
        const CMessageRoute toOuter([&](const QString& text) { outer << text; });
        {
            const CMessageRoute toInner([&](const QString& text) { inner << text; });
            AfxMessageBox(QStringLiteral("a"));
        }
        AfxMessageBox(QStringLiteral("b"));
    }
    EXPECT_EQ(inner, QStringList{QStringLiteral("a")});
    EXPECT_EQ(outer, QStringList{QStringLiteral("b")});
}

} // namespace

} // namespace pelto
