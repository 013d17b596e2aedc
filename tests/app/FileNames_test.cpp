#include "app/FileDialogs.h"
#include "app/HelpFile.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pelto {

namespace {

// The pattern is what the last parentheses hold.
QStringList Patterns(const QStringList& filters) {
    QStringList patterns;
    for (const QString& filter : filters)
        patterns << filter.mid(filter.lastIndexOf(u'('));
    return patterns;
}

TEST(FileDialogs, OpenOffersBothKindsThenEachThenAllFiles) {
    const QStringList filters = OpenFilters();
    EXPECT_EQ(Patterns(filters), (QStringList{"(*.bmp *.png)", "(*.bmp)", "(*.png)", "(*)"}));
    EXPECT_TRUE(filters[1].startsWith(QString::fromUtf8("BITMAPFILE(..bmp)")));
    EXPECT_TRUE(filters[3].startsWith(QString::fromUtf8("すべてのﾌｧｲﾙ (*.*)")));
}

TEST(FileDialogs, SaveOffersThePicturesKindFirst) {
    EXPECT_EQ(Patterns(SaveFilters(PictureFormat::Bmp)),
              (QStringList{"(*.bmp)", "(*.png)", "(*)"}));
    EXPECT_EQ(Patterns(SaveFilters(PictureFormat::Png)),
              (QStringList{"(*.png)", "(*.bmp)", "(*)"}));
}

TEST(FileDialogs, SaveAddsThePicturesExtensionOnlyToANameWithoutOne) {
    EXPECT_EQ(WithDefaultExtension("/d/out"), "/d/out.bmp");
    EXPECT_EQ(WithDefaultExtension("/d/out", PictureFormat::Png), "/d/out.png");
    EXPECT_EQ(WithDefaultExtension("/d/out.bmp", PictureFormat::Png), "/d/out.bmp");
    EXPECT_EQ(WithDefaultExtension("/d/out.dat"), "/d/out.dat");
    EXPECT_EQ(WithDefaultExtension("/d.x/out"), "/d.x/out.bmp");
    EXPECT_EQ(WithDefaultExtension(""), "");
}

TEST(HelpFile, NamedAfterTheProgramAndInstalledBesideIt) {
    EXPECT_EQ(HelpFilePath("/opt/pelto/PeltoTool"), "/opt/pelto/PeltoTool.HLP");
    EXPECT_EQ(HelpFilePath("/opt/pelto/PeltoTool.exe"), "/opt/pelto/PeltoTool.HLP");
    QFile help(HelpFilePath(PELTO_PROGRAM));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_TRUE(help.readAll().contains("<html"));
}

} // namespace

} // namespace pelto
