#include "app/AboutDlg.h"
#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/DialogLayout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pelto {

namespace {

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
};

class DialogTexts : public testing::TestWithParam<DialogCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_english.load(QStringLiteral(":/i18n/pelto_en.qm")));
        QCoreApplication::installTranslator(&m_english);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&m_english); }

    QTranslator m_english;
};

// Every text of the dialog, in English, is whole inside its control (to the
// pixel a dialog unit's rounding may take), and the control inside the dialog.
TEST_P(DialogTexts, FitTheirControlsInEnglish) {
    const std::unique_ptr<QDialog> dialog = GetParam().make();
    const int slack = CDialogUnits(dialog->font()).ToPixels(QRect(0, 0, 1, 1)).width();
    int texts = 0;
    for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QSize needed;
        if (auto* label = qobject_cast<QLabel*>(control); label && label->pixmap().isNull())
            needed = label->sizeHint();
        else if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control))
            // The indicator may stand out of a short row; the text must not.
            needed = QSize(control->sizeHint().width(), control->fontMetrics().height());
        else if (auto* box = qobject_cast<QGroupBox*>(control))
            needed = QSize(box->minimumSizeHint().width(), 0);
        else
            continue;
        ++texts;
        EXPECT_LE(needed.width(), control->width() + slack) << control->objectName().toStdString();
        EXPECT_LE(needed.height(), control->height()) << control->objectName().toStdString();
        EXPECT_TRUE(dialog->rect().contains(control->geometry()))
            << control->objectName().toStdString();
    }
    EXPECT_GT(texts, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogTexts,
    testing::Values(DialogCase{"About", [] { return std::make_unique<CAboutDlg>(); }},
                    DialogCase{"Background", [] { return std::make_unique<CBackgroundDlg>(); }},
                    DialogCase{"Button", [] { return std::make_unique<CButtonDlg>(); }}),
    [](const testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

} // namespace

} // namespace pelto
