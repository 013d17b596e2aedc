#include "DialogTestSupport.h"
#include "dialogs/AngleDial.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/SpinArrows.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>
#include <QWindow>

#include <optional>
#include <tuple>
#include <vector>

namespace pelto {

namespace {

using Announced = std::optional<std::tuple<int, int, int, int, int>>;

struct PreviewDialog : ::testing::Test {
    CButtonDlg dlg;
    std::vector<Announced> announced;
    MessageCatcher catcher;
    const QRect dial = CDialogUnits(DialogFont()).ToPixels(QRect(17, 30, 101, 112));

    void Open() {
        QObject::connect(&dlg, &CButtonDlg::previewChanged, [this](std::optional<ButtonParams> p) {
            announced.push_back(
                p ? Announced({p->angle, p->contrast, p->width, int(p->shape), int(p->outline)})
                  : std::nullopt);
        });
        dlg.m_nLightAngle = 10;
        dlg.m_nContrast = 128;
        dlg.m_nBevelWidth = 5;
        dlg.m_nShape = 0;
        dlg.m_nOutline = 0;
        ASSERT_TRUE(ShowActive(&dlg));
    }
    Announced Last() const { return announced.empty() ? Announced() : announced.back(); }
    static Announced Values(int angle, int contrast, int width, int shape, int outline) {
        return std::make_tuple(angle, contrast, width, shape, outline);
    }
};

TEST_F(PreviewDialog, AnnouncesTheValuesOkWouldGiveAtEachChange) {
    Open();
    ASSERT_EQ(announced.size(), 1u) << "the preview starts with the dialog";
    EXPECT_EQ(Last(), Values(10, 128, 5, 0, 0));

    QTest::mouseEvent(QTest::MouseClick, dlg.windowHandle(), Qt::LeftButton, {},
                      DialCentre(dial) + QPoint(20, 0));
    EXPECT_EQ(Last(), Values(180, 128, 5, 0, 0));
    ClickIndicator(Child<QRadioButton>(&dlg, "roundRadio"));
    EXPECT_EQ(Last(), Values(180, 128, 5, 1, 0));
    QTest::mouseClick(Child<QToolButton>(Child<CSpinArrows>(&dlg, "widthSpin"), "upArrow"),
                      Qt::LeftButton);
    EXPECT_EQ(Last(), Values(180, 128, 6, 1, 0));
    TypeInto(Child<QLineEdit>(&dlg, "contrastEdit"), QStringLiteral("300"));
    EXPECT_EQ(Last(), Values(180, 300, 6, 1, 0));
    EXPECT_EQ(dlg.m_nContrast, 128u) << "announcing reads nothing into the fields";
    EXPECT_TRUE(catcher.messages.isEmpty());
}

struct BadText {
    const char* box;
    const char* text;
};

class PreviewOfBadText : public PreviewDialog, public ::testing::WithParamInterface<BadText> {};

// The keystroke that makes the text bad announces nothing; what came before stays.
TEST_P(PreviewOfBadText, KeepsTheLastValidValuesAndSaysNothing) {
    Open();
    const QString text = QString::fromUtf8(GetParam().text);
    auto* box = Child<QLineEdit>(&dlg, GetParam().box);
    TypeInto(box, text.chopped(1));
    const Announced before = Last();
    const size_t count = announced.size();
    QTest::keyClick(box, text.back().toLatin1());
    EXPECT_EQ(announced.size(), count);
    EXPECT_EQ(Last(), before);
    EXPECT_TRUE(catcher.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, PreviewOfBadText,
                         ::testing::Values(BadText{"angleEdit", "abc"}, BadText{"angleEdit", "360"},
                                           BadText{"widthEdit", "31"}, BadText{"widthEdit", "7 8"},
                                           BadText{"contrastEdit", "-1"},
                                           BadText{"contrastEdit", "501"}));

TEST_F(PreviewDialog, TurningThePreviewOffAndOnAgain) {
    Open();
    auto* box = Child<QCheckBox>(&dlg, "previewBox");
    EXPECT_TRUE(box->isChecked()) << "on by default";
    box->click();
    EXPECT_EQ(announced.back(), std::nullopt);
    TypeInto(Child<QLineEdit>(&dlg, "widthEdit"), QStringLiteral("9"));
    EXPECT_EQ(announced.back(), std::nullopt) << "nothing while off";
    box->click();
    EXPECT_EQ(Last(), Values(10, 128, 9, 0, 0));
}

// The box comes after the template's controls, which keep their places.
TEST_F(PreviewDialog, TheBoxSitsBelowTheTemplatesControls) {
    Open();
    const CDialogUnits units(DialogFont());
    const QRect box = Child<QCheckBox>(&dlg, "previewBox")->geometry();
    EXPECT_GE(box.top(), units.ToPixels(QRect(131, 134, 106, 44)).bottom());
    EXPECT_LE(box.bottom(), dlg.height());
    EXPECT_EQ(Child<QLineEdit>(&dlg, "contrastEdit")->geometry(),
              units.ToPixels(QRect(173, 44, 27, 12)));
}

} // namespace

} // namespace pelto
