#include "app/DocumentSlot.h"
#include "app/FileDialogs.h"
#include "app/HelpFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// An open file is known by whatever name reaches it: a link to it, "." or
// ".." on the way, a link to its folder followed by "..". A missing file goes
// by its absolute name.
TEST(DocumentSlot, KnowsItsFileByAnyNameThatReachesIt) {
    const TempDir dir;
    const QString root = QString::fromStdString(dir.Path()) + u'/';
    ASSERT_TRUE(QDir().mkpath(root + "pictures/inner"));
    ASSERT_TRUE(QDir().mkpath(root + "elsewhere/inner"));
    for (const char* name : {"pictures/a.bmp", "pictures/b.bmp", "elsewhere/a.bmp"})
        ASSERT_TRUE(QFile(root + name).open(QIODevice::WriteOnly)) << name;
    ASSERT_TRUE(QFile::link(root + "pictures/a.bmp", root + "pictures/link.bmp"));
    ASSERT_TRUE(QFile::link(root + "elsewhere/inner", root + "pictures/away"));

    const struct {
        const char* open;
        const char* again;
        bool same;
    } cases[] = {
        {"pictures/a.bmp", "pictures/link.bmp", true},
        {"pictures/link.bmp", "pictures/./a.bmp", true},
        {"pictures/a.bmp", "pictures/inner/../a.bmp", true},
        {"elsewhere/a.bmp", "pictures/away/../a.bmp", true},
        {"pictures/a.bmp", "pictures/away/../a.bmp", false},
        {"pictures/a.bmp", "pictures/b.bmp", false},
        {"pictures/gone.bmp", "pictures/inner/../gone.bmp", true},
    };
    for (const auto& c : cases) {
        const CDocumentSlot slot{nullptr, root + c.open};
        EXPECT_EQ(slot.HoldsFile(root + c.again), c.same) << c.open << " " << c.again;
    }
}

TEST(HelpFile, NamedAfterTheProgramAndBuiltBesideIt) {
    EXPECT_EQ(HelpFilePath("/opt/pelto/PeltoTool"), "/opt/pelto/PeltoTool.HLP");
    EXPECT_EQ(HelpFilePath("/opt/pelto/PeltoTool.exe"), "/opt/pelto/PeltoTool.HLP");
    QFile help(HelpFilePath(PELTO_PROGRAM));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_TRUE(help.readAll().contains("<html"));
}

// A tree laid out as the install rules lay it: the program in the binary
// folder, the help file where they put the data.
TEST(HelpFile, BesideTheProgramFirstThenInTheInstalledDataFolder) {
    struct Case {
        bool beside, installed;
        bool foundInstalled; // else the one beside the program
    };
    const Case cases[] = {
        {true, true, false},
        {true, false, false},
        {false, true, true},
        {false, false, false},
    };
    for (const Case& c : cases) {
        const TempDir prefix;
        const QString root = QString::fromStdString(prefix.Path()) + u'/';
        const auto place = [&root](const char* folder, bool present) {
            const QString path =
                root + QString::fromUtf8(folder) + QStringLiteral("/PeltoTool.HLP");
            EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            if (present) {
                EXPECT_TRUE(QFile(path).open(QIODevice::WriteOnly));
            }
            return path;
        };
        const QString beside = place(PELTO_INSTALLED_BIN, c.beside);
        const QString installed = place(PELTO_INSTALLED_DATA, c.installed);
        const QString program = root + QStringLiteral(PELTO_INSTALLED_BIN "/PeltoTool");
        EXPECT_EQ(HelpFilePath(program), c.foundInstalled ? installed : beside)
            << c.beside << c.installed;
    }
}

// English takes its own file where either place holds it, else the Japanese
// one; with neither, its own name beside the program.
TEST(HelpFile, EnglishTakesItsOwnFileFirst) {
    struct Case {
        const char* present[2];
        const char* found;
    };
    const Case cases[] = {
        {{"bin/PeltoTool.en.HLP", "bin/PeltoTool.HLP"}, "bin/PeltoTool.en.HLP"},
        {{"data/PeltoTool.en.HLP", "bin/PeltoTool.HLP"}, "data/PeltoTool.en.HLP"},
        {{"data/PeltoTool.HLP", nullptr}, "data/PeltoTool.HLP"},
        {{nullptr, nullptr}, "bin/PeltoTool.en.HLP"},
    };
    for (const Case& c : cases) {
        const TempDir prefix;
        const QString root = QString::fromStdString(prefix.Path()) + u'/';
        const auto real = [&root](QString path) {
            return root +
                   path.replace(QStringLiteral("bin/"), QStringLiteral(PELTO_INSTALLED_BIN "/"))
                       .replace(QStringLiteral("data/"), QStringLiteral(PELTO_INSTALLED_DATA "/"));
        };
        for (const char* file : c.present) {
            if (!file) continue;
            const QString path = real(QString::fromUtf8(file));
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(HelpFilePath(real(QStringLiteral("bin/PeltoTool")), Language::English),
                  real(QString::fromUtf8(c.found)))
            << c.found;
    }
}

} // namespace

} // namespace pelto
