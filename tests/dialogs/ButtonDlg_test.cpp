#include "DialogTestSupport.h"
#include "dialogs/AngleDial.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/DialogResult.h"
#include "dialogs/SpinArrows.h"

#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWindow>

namespace pelto {

namespace {

struct ButtonDialog : ::testing::Test {
    CButtonDlg dlg;
    QLineEdit* angleBox = Child<QLineEdit>(&dlg, "angleEdit");
    QLineEdit* widthBox = Child<QLineEdit>(&dlg, "widthEdit");
    QLineEdit* contrastBox = Child<QLineEdit>(&dlg, "contrastEdit");
    const QRect dial = CDialogUnits(DialogFont()).ToPixels(QRect(17, 30, 101, 112));
    const QPoint centre = DialCentre(dial);

    // The view's defaults.
    void Open(unsigned angle = 0, unsigned width = 5, int shape = 0, int outline = 0,
              unsigned contrast = 128) {
        dlg.m_nLightAngle = angle;
        dlg.m_nBevelWidth = width;
        dlg.m_nShape = shape;
        dlg.m_nOutline = outline;
        dlg.m_nContrast = contrast;
        ASSERT_TRUE(ShowActive(&dlg));
    }
    bool Checked(const char* radio) { return Child<QRadioButton>(&dlg, radio)->isChecked(); }
    // Mouse events through the window, so the press holds the mouse as a user's does.
    void Mouse(QTest::MouseAction action, const QPoint& at) {
        QTest::mouseEvent(action, dlg.windowHandle(), Qt::LeftButton, {}, at);
    }
};

TEST_F(ButtonDialog, OpensWithTheFieldsWrittenAndTheAngleBoxFocused) {
    Open(45, 7, 1, -1, 250);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("立体ボタン作成"));
    // The template's size, grown by a row for the preview box.
    EXPECT_EQ(dlg.size(), CDialogUnits(DialogFont()).ToPixels(QSize(253, 203)));
    EXPECT_EQ(angleBox->text(), QStringLiteral("45"));
    EXPECT_EQ(widthBox->text(), QStringLiteral("7"));
    EXPECT_EQ(contrastBox->text(), QStringLiteral("250"));
    EXPECT_TRUE(Checked("roundRadio"));
    EXPECT_FALSE(Checked("cutRadio"));
    EXPECT_FALSE(Checked("innerRadio") || Checked("outerRadio"));
    EXPECT_TRUE(angleBox->hasFocus());
}

TEST_F(ButtonDialog, TabFollowsTheTemplateOrder) {
    Open();
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    // The template's order, then the preview box.
    EXPECT_EQ(order, (QStringList{"widthEdit", "cutRadio", "innerRadio", "okButton", "cancelButton",
                                  "contrastEdit", "previewBox", "angleEdit", "widthEdit"}));
}

struct SpinCase {
    const char* spin;
    unsigned CButtonDlg::*field;
    const char* box;
    unsigned start;
    int delta; // -1 and +1 are clicks on the arrows; others arrive as they are
    unsigned expected;
};

class SpinStep : public ButtonDialog, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinStep, AppliesTheDeltaWithinTheBounds) {
    const SpinCase& c = GetParam();
    Open();
    dlg.*c.field = c.start;
    Child<QLineEdit>(&dlg, c.box)->setText(QString::number(c.start));
    auto* spin = Child<CSpinArrows>(&dlg, c.spin);
    if (c.delta == -1 || c.delta == 1)
        QTest::mouseClick(Child<QToolButton>(spin, c.delta < 0 ? "upArrow" : "downArrow"),
                          Qt::LeftButton);
    else
        emit spin->deltaPos(c.delta);
    EXPECT_EQ(dlg.*c.field, c.expected);
    EXPECT_EQ(Child<QLineEdit>(&dlg, c.box)->text(), QString::number(c.expected));
}

constexpr auto kAngle = &CButtonDlg::m_nLightAngle;
constexpr auto kWidth = &CButtonDlg::m_nBevelWidth;
constexpr auto kContrast = &CButtonDlg::m_nContrast;

INSTANTIATE_TEST_SUITE_P(
    Table, SpinStep,
    ::testing::Values(SpinCase{"angleSpin", kAngle, "angleEdit", 0, -1, 1},
                      SpinCase{"angleSpin", kAngle, "angleEdit", 0, 1, 359},
                      SpinCase{"angleSpin", kAngle, "angleEdit", 359, -1, 0},
                      SpinCase{"angleSpin", kAngle, "angleEdit", 3, 5, 359},
                      SpinCase{"angleSpin", kAngle, "angleEdit", 357, -5, 0},
                      SpinCase{"angleSpin", kAngle, "angleEdit", 100, -5, 105},
                      SpinCase{"widthSpin", kWidth, "widthEdit", 30, -1, 30},
                      SpinCase{"widthSpin", kWidth, "widthEdit", 0, 1, 0},
                      SpinCase{"widthSpin", kWidth, "widthEdit", 5, 1, 4},
                      SpinCase{"contrastSpin", kContrast, "contrastEdit", 500, -1, 500},
                      SpinCase{"contrastSpin", kContrast, "contrastEdit", 0, 1, 0},
                      SpinCase{"contrastSpin", kContrast, "contrastEdit", 128, -1, 129}));

TEST_F(ButtonDialog, ArrowKeysOnAFocusedSpinStepTheValue) {
    Open(10);
    auto* spin = Child<CSpinArrows>(&dlg, "angleSpin");
    QTest::mouseClick(Child<QToolButton>(spin, "upArrow"), Qt::LeftButton);
    ASSERT_TRUE(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(dlg.m_nLightAngle, 12u);
}

TEST_F(ButtonDialog, AStepAfterARefusedBoxGoesOnAndRewritesTheBoxes) {
    Open(10, 5);
    MessageCatcher catcher;
    TypeInto(angleBox, QStringLiteral("abc"));
    emit Child<CSpinArrows>(&dlg, "widthSpin")->deltaPos(-1);
    EXPECT_EQ(catcher.messages, QStringList{"正の整数を入力してください。"});
    EXPECT_EQ(dlg.m_nBevelWidth, 6u);
    EXPECT_EQ(angleBox->text(), QStringLiteral("10"));
}

struct AxisCase {
    int dx, dy;
    unsigned angle;
};

class DialPress : public ButtonDialog, public ::testing::WithParamInterface<AxisCase> {};

TEST_P(DialPress, SetsTheAngleOfThePressedPoint) {
    const AxisCase& c = GetParam();
    Open(123);
    Mouse(QTest::MouseClick, centre + QPoint(c.dx, c.dy));
    EXPECT_EQ(dlg.m_nLightAngle, c.angle);
    EXPECT_EQ(angleBox->text(), QString::number(c.angle));
}

INSTANTIATE_TEST_SUITE_P(Axes, DialPress,
                         ::testing::Values(AxisCase{-20, 0, 0}, AxisCase{0, -20, 89},
                                           AxisCase{20, 0, 180}, AxisCase{0, 20, 270},
                                           AxisCase{0, 0, 180}));

TEST_F(ButtonDialog, DragStartsInTheRectangleAndFollowsBeyondTheDialogUntilRelease) {
    Open(123);
    Mouse(QTest::MousePress, QPoint(dial.left() - 1, centre.y()));
    Mouse(QTest::MouseRelease, centre + QPoint(20, 0));
    EXPECT_EQ(dlg.m_nLightAngle, 123u);

    const QPoint corner = dial.bottomLeft() + QPoint(1, -1); // outside the ellipse
    Mouse(QTest::MousePress, corner);
    EXPECT_EQ(dlg.m_nLightAngle, DialAngleFromPoint(dial, corner));
    Mouse(QTest::MouseMove, QPoint(-300, centre.y()));
    EXPECT_EQ(dlg.m_nLightAngle, 0u);
    Mouse(QTest::MouseMove, QPoint(centre.x(), dlg.height() + 300));
    EXPECT_EQ(dlg.m_nLightAngle, 270u);
    Mouse(QTest::MouseRelease, QPoint(dlg.width() + 300, centre.y()));
    EXPECT_EQ(dlg.m_nLightAngle, 180u);
    EXPECT_EQ(angleBox->text(), QStringLiteral("180"));
    Mouse(QTest::MouseMove, QPoint(0, centre.y()));
    EXPECT_EQ(dlg.m_nLightAngle, 180u);
}

// A number the user typed and the preview may show stays; anything else the
// box holds goes back to its field.
TEST_F(ButtonDialog, ADragKeepsTypedNumbersInRangeAndRewritesTheRest) {
    Open(0, 5, 0, 0, 128);
    TypeInto(widthBox, QStringLiteral("77"));
    TypeInto(contrastBox, QStringLiteral("9"));
    Mouse(QTest::MouseClick, centre + QPoint(0, -20));
    EXPECT_EQ(widthBox->text(), QStringLiteral("5"));
    EXPECT_EQ(contrastBox->text(), QStringLiteral("9"));
    EXPECT_EQ(dlg.m_nContrast, 9u);
    TypeInto(widthBox, QStringLiteral("abc"));
    Mouse(QTest::MouseClick, centre + QPoint(0, 20));
    EXPECT_EQ(widthBox->text(), QStringLiteral("5"));
}

TEST_F(ButtonDialog, ADragKeepsTheRadioChoicesTheUserMade) {
    const int result = RunModal(dlg, [&] {
        ClickIndicator(Child<QRadioButton>(&dlg, "roundRadio"));
        ClickIndicator(Child<QRadioButton>(&dlg, "outerRadio"));
        Mouse(QTest::MousePress, centre + QPoint(-20, 0));
        Mouse(QTest::MouseMove, centre + QPoint(0, 20));
        Mouse(QTest::MouseRelease, centre + QPoint(20, 0));
        EXPECT_TRUE(Checked("roundRadio"));
        EXPECT_TRUE(Checked("outerRadio"));
        QTest::mouseClick(Child<QPushButton>(&dlg, "okButton"), Qt::LeftButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nLightAngle, 180u);
    EXPECT_EQ(std::make_pair(dlg.m_nShape, dlg.m_nOutline), std::make_pair(1, 1));
}

// A click on an arrow takes the focus from the box and steps at once: one
// message for one bad box, whichever arrow was clicked.
class ClickingAnArrowAfterBadText : public ButtonDialog,
                                    public ::testing::WithParamInterface<const char*> {};

TEST_P(ClickingAnArrowAfterBadText, ReportsTheBoxOnce) {
    Open(10);
    MessageCatcher catcher;
    TypeInto(angleBox, QStringLiteral("abc"));
    QTest::mouseClick(Child<QToolButton>(Child<CSpinArrows>(&dlg, GetParam()), "upArrow"),
                      Qt::LeftButton);
    EXPECT_EQ(catcher.messages, QStringList{"正の整数を入力してください。"});
    EXPECT_EQ(angleBox->text(), QString::number(dlg.m_nLightAngle)) << "the step went on";
}

INSTANTIATE_TEST_SUITE_P(Arrows, ClickingAnArrowAfterBadText,
                         ::testing::Values("angleSpin", "widthSpin", "contrastSpin"));

TEST_F(ButtonDialog, AStepThatReadsATypedAngleTurnsTheDial) {
    Open(0);
    TypeInto(angleBox, QStringLiteral("90"));
    QTest::mouseClick(Child<QToolButton>(Child<CSpinArrows>(&dlg, "widthSpin"), "upArrow"),
                      Qt::LeftButton);
    const QImage image = dlg.grab().toImage();
    EXPECT_EQ(image.pixelColor(centre + QPoint(0, -30)), QColor(Qt::black));
}

struct AngleLeaveCase {
    const char* text;
    const char* message;
    unsigned field;
};

class LeavingTheAngleBox : public ButtonDialog,
                           public ::testing::WithParamInterface<AngleLeaveCase> {};

TEST_P(LeavingTheAngleBox, ReadsTheFieldsAndReportsBadText) {
    const AngleLeaveCase& c = GetParam();
    Open(10);
    MessageCatcher catcher;
    TypeInto(angleBox, QString::fromUtf8(c.text));
    QTest::keyClick(angleBox, Qt::Key_Tab);
    EXPECT_EQ(catcher.messages.join(u'|'), QString::fromUtf8(c.message));
    EXPECT_EQ(dlg.m_nLightAngle, c.field);
    EXPECT_EQ(angleBox->hasFocus(), *c.message != '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeavingTheAngleBox,
    ::testing::Values(AngleLeaveCase{"", "正の整数を入力してください。", 10},
                      AngleLeaveCase{"-5", "正の整数を入力してください。", 10},
                      AngleLeaveCase{"400", "0 から 359 までの整数を入力してください。", 400},
                      AngleLeaveCase{" 90\t", "", 90}));

// As it is typed, before the box loses the focus; a bad number leaves it.
TEST_F(ButtonDialog, TheDialShowsTheAngleTypedIntoTheBox) {
    Open(0);
    for (const QString& typed : {QStringLiteral("90"), QStringLiteral("900")}) {
        TypeInto(angleBox, typed);
        const QImage image = dlg.grab().toImage();
        EXPECT_EQ(image.pixelColor(centre + QPoint(0, -30)), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(centre + QPoint(-30, 0)), QColor(Qt::white));
    }
}

TEST_F(ButtonDialog, OkReadsAllFieldsAndClosesOnlyWhenAllAreInRange) {
    MessageCatcher catcher;
    dlg.m_nOutline = -1;
    const int result = RunModal(dlg, [&] {
        TypeInto(angleBox, QStringLiteral("200"));
        TypeInto(contrastBox, QStringLiteral("501"));
        ClickIndicator(Child<QRadioButton>(&dlg, "outerRadio"));
        ClickIndicator(Child<QRadioButton>(&dlg, "roundRadio"));
        QTest::mouseClick(Child<QPushButton>(&dlg, "okButton"), Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(contrastBox->hasFocus());
        TypeInto(contrastBox, QStringLiteral("500"));
        QTest::keyClick(contrastBox, Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(catcher.messages, QStringList{"0 から 500 までの整数を入力してください。"});
    EXPECT_EQ(dlg.m_nLightAngle, 200u);
    EXPECT_EQ(dlg.m_nShape, 1);
    EXPECT_EQ(dlg.m_nOutline, 1);
    EXPECT_EQ(dlg.m_nContrast, 500u);
}

TEST_F(ButtonDialog, ReadingStopsAtTheFirstBadBox) {
    MessageCatcher catcher;
    dlg.m_nBevelWidth = 5;
    const int result = RunModal(dlg, [&] {
        TypeInto(widthBox, QStringLiteral("12"));
        TypeInto(angleBox, QStringLiteral("x"));
        QTest::keyClick(angleBox, Qt::Key_Return);
        EXPECT_TRUE(angleBox->hasFocus());
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(catcher.messages, QStringList{"正の整数を入力してください。"});
    EXPECT_EQ(dlg.m_nBevelWidth, 5u);
}

} // namespace

} // namespace pelto
