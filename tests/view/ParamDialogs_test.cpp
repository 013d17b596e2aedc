// The view's glue to the two real parameter dialogs: what goes in shows in the
// right control, and what the user sets there comes back in the right field.
#include "ViewTestDocs.h"
#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/MessageBox.h"
#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"
#include "support/ModalControl.h"
#include "support/SquareDoc.h"
#include "view/ParamDialogs.h"
#include "view/PeltoView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <tuple>

namespace pelto {

void PrintTo(const ButtonParams& p, std::ostream* os) {
    *os << p.angle << "/" << p.contrast << "/" << p.width << "/" << int(p.shape) << "/"
        << int(p.outline);
}

namespace {

auto Tie(const ButtonParams& p) {
    return std::make_tuple(p.angle, p.contrast, p.width, p.shape, p.outline);
}

// Runs `steps` on the modal dialog of type Dialog once it is up; a dialog the
// steps leave open is cancelled, so that a failing test cannot hang.
template <class Dialog> void WhenShown(const std::function<void(Dialog&)>& steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "the real dialog did not open";
        steps(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

template <class Control> Control* Find(const QWidget& dialog, const char* name) {
    auto* control = dialog.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

void Type(QLineEdit* box, int value) {
    box->selectAll();
    QTest::keyClicks(box, QString::number(value));
}

void Click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
}

class RealParamDialogs : public testing::Test {
protected:
    void SetUp() override {
        modal::AnswerParamDialogs({}, {});
        modal::AnswerMessageBoxes([this](const QString& text) { m_messages << text; });
    }
    void TearDown() override { modal::AnswerMessageBoxes({}); }

    QStringList m_messages;
};

// Every field a different value, so that two swapped fields cannot pass.
class ButtonGlue : public RealParamDialogs, public testing::WithParamInterface<ButtonParams> {};

TEST_P(ButtonGlue, EachValueShowsInItsControlAndComesBackFromIt) {
    const ButtonParams given = GetParam();
    const ButtonParams typed{given.angle + 7, given.contrast + 11, given.width + 3,
                             given.Round() ? BevelShape::Cut : BevelShape::Round,
                             given.Outer() ? BevelOutline::Inner : BevelOutline::Outer};
    WhenShown<CButtonDlg>([&](CButtonDlg& dlg) {
        EXPECT_EQ(Find<QLineEdit>(dlg, "angleEdit")->text().toInt(), given.angle);
        EXPECT_EQ(Find<QLineEdit>(dlg, "contrastEdit")->text().toInt(), given.contrast);
        EXPECT_EQ(Find<QLineEdit>(dlg, "widthEdit")->text().toInt(), given.width);
        EXPECT_EQ(Find<QRadioButton>(dlg, "roundRadio")->isChecked(), given.Round());
        EXPECT_EQ(Find<QRadioButton>(dlg, "outerRadio")->isChecked(), given.Outer());
        Type(Find<QLineEdit>(dlg, "angleEdit"), typed.angle);
        Type(Find<QLineEdit>(dlg, "contrastEdit"), typed.contrast);
        Type(Find<QLineEdit>(dlg, "widthEdit"), typed.width);
        Click(Find<QRadioButton>(dlg, typed.Round() ? "roundRadio" : "cutRadio"));
        Click(Find<QRadioButton>(dlg, typed.Outer() ? "outerRadio" : "innerRadio"));
        QTest::mouseClick(Find<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    });
    ButtonParams params = given;
    ASSERT_TRUE(AskButtonParams(params, nullptr));
    EXPECT_EQ(Tie(params), Tie(typed));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_P(ButtonGlue, CancelGivesBackNothing) {
    const ButtonParams given = GetParam();
    WhenShown<CButtonDlg>([](CButtonDlg& dlg) {
        Type(Find<QLineEdit>(dlg, "contrastEdit"), 3);
        QTest::mouseClick(Find<QPushButton>(dlg, "cancelButton"), Qt::LeftButton);
    });
    ButtonParams params = given;
    EXPECT_FALSE(AskButtonParams(params, nullptr));
    EXPECT_EQ(Tie(params), Tie(given));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ButtonGlue,
    testing::Values(ButtonParams{},
                    ButtonParams{135, 300, 8, BevelShape::Round, BevelOutline::Outer},
                    ButtonParams{270, 40, 20, BevelShape::Cut, BevelOutline::Outer},
                    ButtonParams{45, 480, 1, BevelShape::Round, BevelOutline::Inner}));

struct ToleranceCase {
    int given;
    int typed;
    bool connected; // given; the test clicks the check box, so the other comes back
};

class ToleranceGlue : public RealParamDialogs, public testing::WithParamInterface<ToleranceCase> {};

TEST_P(ToleranceGlue, TheValueShowsInTheBoxAndComesBackFromIt) {
    const ToleranceCase c = GetParam();
    WhenShown<CBackgroundDlg>([&](CBackgroundDlg& dlg) {
        auto* box = Find<QLineEdit>(dlg, "toleranceEdit");
        auto* check = Find<QCheckBox>(dlg, "connectedCheck");
        EXPECT_EQ(box->text().toInt(), c.given);
        EXPECT_EQ(check->isChecked(), c.connected);
        Click(check);
        Type(box, c.typed);
        QTest::keyClick(box, Qt::Key_Return);
    });
    int tolerance = c.given;
    bool connected = c.connected;
    ASSERT_TRUE(AskTolerance(tolerance, connected, nullptr));
    EXPECT_EQ(tolerance, c.typed);
    EXPECT_EQ(connected, !c.connected);
}

INSTANTIATE_TEST_SUITE_P(Values, ToleranceGlue,
                         testing::Values(ToleranceCase{0, 37, false}, ToleranceCase{64, 100, true},
                                         ToleranceCase{100, 0, false}));

// Through the view: the dialogs open over the view's window with its values,
// and the bevel made is the one the user set.
TEST_F(RealParamDialogs, TheViewMakesTheBevelSetInTheRealDialogs) {
    const Bytes square = MakeBmp24(40, 40, [](int x, int y) {
        return x >= 10 && x < 30 && y >= 10 && y < 30 ? RGB(128, 128, 128) : RGB(255, 255, 255);
    });
    auto doc = std::make_shared<CPeltoDoc>();
    LoadPicture(*doc, square);
    CPeltoView view(doc);
    view.resize(100, 80);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    WhenShown<CBackgroundDlg>([](CBackgroundDlg& dlg) {
        Type(Find<QLineEdit>(dlg, "toleranceEdit"), 12);
        QTest::keyClick(Find<QLineEdit>(dlg, "toleranceEdit"), Qt::Key_Return);
    });
    view.OnEditBgcolor();
    EXPECT_EQ(view.m_nTolerance, 12);
    ASSERT_TRUE(view.m_bPicking);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(1, 1));
    ASSERT_TRUE(doc->HasSelection());

    const ButtonParams chosen{200, 90, 4, BevelShape::Round, BevelOutline::Outer};
    WhenShown<CButtonDlg>([&](CButtonDlg& dlg) {
        EXPECT_EQ(dlg.parentWidget(), view.window());
        Type(Find<QLineEdit>(dlg, "angleEdit"), chosen.angle);
        Type(Find<QLineEdit>(dlg, "contrastEdit"), chosen.contrast);
        Type(Find<QLineEdit>(dlg, "widthEdit"), chosen.width);
        Click(Find<QRadioButton>(dlg, "roundRadio"));
        Click(Find<QRadioButton>(dlg, "outerRadio"));
        QTest::mouseClick(Find<QPushButton>(dlg, "okButton"), Qt::LeftButton);
    });
    view.OnEditMakebutton();
    EXPECT_EQ(Tie(view.CurrentButtonParams()), Tie(chosen));

    CPeltoDoc expected;
    LoadPicture(expected, square);
    expected.SelectBackground(1, 1, 12);
    expected.MakeButton(chosen);
    EXPECT_EQ(BlockBytes(doc->Picture()), BlockBytes(expected.Picture()));
    EXPECT_TRUE(m_messages.isEmpty());
}

} // namespace

} // namespace pelto
