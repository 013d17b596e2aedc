#include "app/RecentFileList.h"
#include "app/SettingsKeys.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

namespace pelto {

namespace {

class RecentFileListTest : public testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(m_settings.Path()));
    }
    TempDir m_settings;
};

QString Path(int i) {
    return QStringLiteral("/pictures/p%1.bmp").arg(i);
}

TEST_F(RecentFileListTest, KeepsTheTenMostRecentNewestFirst) {
    CRecentFileList list;
    for (int i = 1; i <= 11; ++i)
        list.Add(Path(i));
    ASSERT_EQ(list.Files().size(), CRecentFileList::kMaxFiles);
    EXPECT_EQ(list.Files().first(), Path(11));
    EXPECT_EQ(list.Files().last(), Path(2));
    list.Add(Path(5));
    EXPECT_EQ(list.Files().first(), Path(5));
    EXPECT_EQ(list.Files().count(Path(5)), 1);
    list.Remove(Path(5));
    EXPECT_FALSE(list.Files().contains(Path(5)));
}

TEST_F(RecentFileListTest, SurvivesARestartUnderItsKeys) {
    {
        CRecentFileList list;
        for (int i = 1; i <= 3; ++i)
            list.Add(Path(i));
        list.WriteList();
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "VANTORELL", "PeltoTool");
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), Path(3));
    EXPECT_EQ(settings.value("Recent File List/File3").toString(), Path(1));

    CRecentFileList restarted;
    restarted.ReadList();
    EXPECT_EQ(restarted.Files(), (QStringList{Path(3), Path(2), Path(1)}));
    restarted.Remove(Path(2));
    restarted.WriteList();
    settings.sync();
    EXPECT_FALSE(settings.contains("Recent File List/File3"));
}

TEST_F(RecentFileListTest, RelativePathsAreStoredAbsolute) {
    CRecentFileList list;
    list.Add(QStringLiteral("some.bmp"));
    EXPECT_TRUE(QFileInfo(list.Files().first()).isAbsolute());
}

} // namespace

} // namespace pelto
