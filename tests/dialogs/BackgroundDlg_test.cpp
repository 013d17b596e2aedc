#include "DialogTestSupport.h"
#include "dialogs/BackgroundDlg.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/DialogResult.h"

#include <QPushButton>
#include <QSlider>

namespace pelto {

namespace {

struct ToleranceDialog : ::testing::Test {
    CBackgroundDlg dlg;
    QLineEdit* box = Child<QLineEdit>(&dlg, "toleranceEdit");
    QSlider* slider = Child<QSlider>(&dlg, "toleranceSlider");

    void Open(unsigned tolerance) {
        dlg.m_nTolerance = tolerance;
        ASSERT_TRUE(ShowActive(&dlg));
    }
};

TEST_F(ToleranceDialog, OpensWithTheToleranceSelectedInTheFocusedBox) {
    Open(30);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("背景色の選択"));
    EXPECT_EQ(dlg.size(), CDialogUnits(DialogFont()).ToPixels(QSize(187, 76)));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), QStringLiteral("30"));
    EXPECT_EQ(slider->value(), 30);
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_TRUE(slider->hasFocus());
    EXPECT_EQ(slider->value(), 30);
}

TEST_F(ToleranceDialog, TypedValueReachesTheSliderWhenTheBoxLosesTheFocus) {
    Open(30);
    QTest::keyClicks(box, QStringLiteral("55"));
    EXPECT_EQ(slider->value(), 30);
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(slider->value(), 55);
    EXPECT_EQ(dlg.m_nTolerance, 55u);
}

TEST_F(ToleranceDialog, PollCopiesTheSliderIntoTheBoxOnlyWhileTheSliderHasTheFocus) {
    Open(30);
    slider->setValue(70);
    QTest::qWait(250);
    EXPECT_EQ(box->text(), QStringLiteral("30"));

    QTest::keyClick(box, Qt::Key_Tab); // the box's 30 goes to the slider
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->text() == QStringLiteral("32"); }, 1000));
    EXPECT_EQ(dlg.m_nTolerance, 32u);
}

TEST_F(ToleranceDialog, AltCMovesTheFocusToTheBox) {
    Open(30);
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_FALSE(box->hasFocus());
    QTest::keyClick(&dlg, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(box->hasFocus());
}

struct LeaveCase {
    const char* text;
    const char* message;
    unsigned field;
    int slider;
};

class LeavingABadBox : public ToleranceDialog, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeavingABadBox, ShowsTheMessageAndReturnsTheFocus) {
    const LeaveCase& c = GetParam();
    Open(30);
    MessageCatcher catcher;
    TypeInto(box, QString::fromUtf8(c.text));
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(catcher.messages, QStringList{QString::fromUtf8(c.message)});
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), QString::fromUtf8(c.text));
    EXPECT_EQ(dlg.m_nTolerance, c.field);
    EXPECT_EQ(slider->value(), c.slider);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeavingABadBox,
    ::testing::Values(LeaveCase{"150", "0 から 100 までの整数を入力してください。", 150, 100},
                      LeaveCase{"abc", "正の整数を入力してください。", 30, 30},
                      LeaveCase{"", "正の整数を入力してください。", 30, 30}));

TEST_F(ToleranceDialog, OkIsRefusedUntilTheBoxHoldsZeroToHundred) {
    MessageCatcher catcher;
    QStringList afterFirstClick;
    dlg.m_nTolerance = 30;
    const int result = RunModal(dlg, [&] {
        auto* ok = Child<QPushButton>(&dlg, "okButton");
        TypeInto(box, QStringLiteral("150"));
        QTest::mouseClick(ok, Qt::LeftButton);
        afterFirstClick = catcher.messages;
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(box->hasFocus());
        TypeInto(box, QString());
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        TypeInto(box, QStringLiteral("100"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(afterFirstClick, QStringList{"0 から 100 までの整数を入力してください。"});
    EXPECT_EQ(catcher.messages.size(), 2);
    EXPECT_EQ(catcher.messages.last(), QStringLiteral("正の整数を入力してください。"));
    EXPECT_EQ(dlg.m_nTolerance, 100u);
}

TEST_F(ToleranceDialog, EnterTakesTheBoxWhateverTheSliderShows) {
    dlg.m_nTolerance = 30;
    const int result = RunModal(dlg, [&] {
        slider->setValue(10);
        TypeInto(box, QStringLiteral("55"));
        QTest::keyClick(box, Qt::Key_Enter);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nTolerance, 55u);
}

class ClosingWithoutOk : public ToleranceDialog, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingWithoutOk, CancelsWithoutReadingOrMessages) {
    MessageCatcher catcher;
    dlg.m_nTolerance = 30;
    const int result = RunModal(dlg, [&] {
        TypeInto(box, QStringLiteral("abc"));
        if (GetParam())
            QTest::mouseClick(Child<QPushButton>(&dlg, "cancelButton"), Qt::LeftButton);
        else
            QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_nTolerance, 30u);
    EXPECT_TRUE(catcher.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ButtonOrEscape, ClosingWithoutOk, ::testing::Bool());

} // namespace

} // namespace pelto
