#include "dialogs/DialogLayout.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(DialogUnits, ConvertQuarterWidthsAndEighthHeights) {
    const CDialogUnits units(6, 12);
    EXPECT_EQ(units.ToPixels(QRect(4, 8, 8, 16)), QRect(6, 12, 12, 24));
    EXPECT_EQ(units.ToPixels(QRect(13, 15, 73, 9)), QRect(20, 23, 109, 13));
    EXPECT_EQ(units.ToPixels(QSize(187, 65)), QSize(281, 98));
}

TEST(DialogUnits, ControlsThatMeetInUnitsMeetInPixels) {
    for (const auto& [w, h] : {std::pair{6, 12}, std::pair{7, 13}, std::pair{5, 11}}) {
        const CDialogUnits units(w, h);
        for (int u = 0; u < 300; ++u) {
            const QRect first = units.ToPixels(QRect(u, u, 1, 1));
            const QRect next = units.ToPixels(QRect(u + 1, u + 1, 1, 1));
            EXPECT_EQ(first.x() + first.width(), next.x()) << w << " " << u;
            EXPECT_EQ(first.y() + first.height(), next.y()) << h << " " << u;
        }
    }
}

TEST(DialogFont, IsAJapaneseGothicWithRealGlyphs) {
    const QFont font = DialogFont();
    EXPECT_EQ(font.pointSize(), 9);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == QStringLiteral("ＭＳ Ｐゴシック") ||
                family == QStringLiteral("IPAPGothic"))
        << family.toStdString();
    const QFontMetrics metrics(font);
    for (const QChar c : QStringLiteral("背景色の選択ｷｬﾝｾﾙ立体ボタン作成%"))
        EXPECT_TRUE(metrics.inFont(c)) << int{c.unicode()};
    const CDialogUnits units(font);
    EXPECT_EQ(units.BaseHeight(), metrics.height());
    EXPECT_GT(units.BaseWidth(), 0);
    EXPECT_LT(units.BaseWidth(), units.BaseHeight());
}

} // namespace

} // namespace pelto
