#include "app/MenuList.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct LabelCase {
    int number;
    const char* label;
};

class NumberedLabelTest : public testing::TestWithParam<LabelCase> {};

TEST_P(NumberedLabelTest, PutsTheMnemonicOnTheNumber) {
    EXPECT_EQ(NumberedLabel(GetParam().number, QStringLiteral("a.bmp")).toStdString(),
              GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberedLabelTest,
                         testing::Values(LabelCase{1, "&1 a.bmp"}, LabelCase{9, "&9 a.bmp"},
                                         LabelCase{10, "1&0 a.bmp"}, LabelCase{11, "11 a.bmp"}));

TEST(NumberedLabel, ShowsAnAmpersandInTheTextAsItIs) {
    EXPECT_EQ(NumberedLabel(2, QStringLiteral("R&D.bmp")).toStdString(), "&2 R&&D.bmp");
}

QStringList Texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

TEST(CMenuList, ReplacesItsEntriesBeforeTheAnchorInEveryMenuAndDeletesThemLater) {
    QMenu first, second;
    QAction anchor(QStringLiteral("anchor"));
    for (QMenu* menu : {&first, &second}) {
        menu->addAction(QStringLiteral("top"));
        menu->addAction(&anchor);
    }
    CMenuList list({&first, &second}, &anchor);
    list.Replace({new QAction(QStringLiteral("a")), new QAction(QStringLiteral("b"))});
    EXPECT_EQ(Texts(first), (QStringList{"top", "a", "b", "anchor"}));
    EXPECT_EQ(Texts(second), Texts(first));
    EXPECT_EQ(list.Entries().first()->parent(), &first);

    const QPointer<QAction> old = list.Entries().first();
    list.Replace({new QAction(QStringLiteral("c"))});
    EXPECT_EQ(Texts(second), (QStringList{"top", "c", "anchor"}));
    ASSERT_FALSE(old.isNull()) << "a replaced entry may still be running its own command";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
}

} // namespace

} // namespace pelto
