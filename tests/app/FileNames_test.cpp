#include "app/FileDialogs.h"
#include "app/HelpFile.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(FileDialogs, BitmapFilterFirstAndAllFilesSecond) {
    const QStringList filters = FileFilters();
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(QString::fromUtf8("BITMAPFILE(..bmp)")));
    EXPECT_TRUE(filters[0].endsWith(QStringLiteral("(*.bmp)")));
    EXPECT_TRUE(filters[1].startsWith(QString::fromUtf8("すべてのﾌｧｲﾙ (*.*)")));
}

TEST(FileDialogs, SaveAddsBmpOnlyToANameWithoutExtension) {
    EXPECT_EQ(WithDefaultExtension("/d/out"), "/d/out.bmp");
    EXPECT_EQ(WithDefaultExtension("/d/out.bmp"), "/d/out.bmp");
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
