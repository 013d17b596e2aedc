// pelto-cli --states: beside OUT, the other three states, their sprite and
// its CSS, all of them or none; OUT exactly what the run without --states writes.

#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/SystemTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelto {

namespace {

namespace fs = std::filesystem;

struct Decoded {
    CDIB picture;
    CAlphaPlane alpha;
};

void Decode(const std::string& path, Decoded& into) {
    const Bytes bytes = ReadFileBytes(path);
    png::Decode(bytes.data(), bytes.size(), into.picture, into.alpha);
}

ProcessResult Cli(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), PELTO_CLI);
    for (std::string& arg : args)
        if (arg.starts_with("@")) arg = dir.File(arg.substr(1));
    return RunProcess(args);
}

const std::vector<std::string> kValues = {"--pick",    "0,0,10", "--width", "4",
                                          "--outline", "outer",  "--angle", "135"};

TEST(ButtonSetRun, WritesTheStatesTheirSpriteAndItsStyleSheet) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(40, 30));
    std::vector<std::string> args = {"@in.bmp", "@9 lives.png", "--cut-out"};
    args.insert(args.end(), kValues.begin(), kValues.end());
    std::vector<std::string> single = args;
    single[1] = "@single.png";
    ASSERT_EQ(Cli(dir, single).exitCode, 0);
    args.push_back("--states");
    const ProcessResult run = Cli(dir, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(dir.File("9 lives.png")), ReadFileBytes(dir.File("single.png")));

    // Stacked top to bottom, each exactly its file's pixels and opacity.
    Decoded sprite;
    Decode(dir.File("9 lives-sprite.png"), sprite);
    ASSERT_EQ(sprite.picture.m_nWidth, 40);
    ASSERT_EQ(sprite.picture.m_nHeight, 120);
    const char* names[] = {"9 lives.png", "9 lives-hover.png", "9 lives-pressed.png",
                           "9 lives-disabled.png"};
    Decoded normal;
    Decode(dir.File(names[0]), normal);
    for (int i = 0; i < 4; ++i) {
        Decoded state;
        Decode(dir.File(names[i]), state);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(state.alpha.GetAlpha(x, y), normal.alpha.GetAlpha(x, y))
                    << "the normal's opacity";
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(ShownPixel(state.picture, x, y),
                          ShownPixel(sprite.picture, x, 30 * i + y))
                    << names[i] << " " << x << " " << y;
                ASSERT_EQ(state.alpha.GetAlpha(x, 29 - y),
                          sprite.alpha.GetAlpha(x, 119 - 30 * i - y));
            }
    }
    // The pressed state is the button lit from the other side.
    std::vector<std::string> opposite = single;
    opposite.back() = "315";
    opposite[1] = "@opposite.png";
    ASSERT_EQ(Cli(dir, opposite).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(dir.File("opposite.png")),
              ReadFileBytes(dir.File("9 lives-pressed.png")));

    const Bytes css = ReadFileBytes(dir.File("9 lives.css"));
    const std::string text(css.begin(), css.end());
    for (const char* part :
         {"._9_lives {", "width: 40px;", "height: 30px;", "url(\"9 lives-sprite.png\") 0 0",
          "._9_lives:hover {\n  background-position: 0 -30px;",
          "._9_lives:active {\n  background-position: 0 -60px;",
          "._9_lives:disabled,\n._9_lives[aria-disabled=\"true\"] {\n  background-position: 0 "
          "-90px;"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// A file that cannot be written takes back those written before it.
TEST(ButtonSetRun, WritesAllOrNone) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(40, 30));
    WriteFileBytes(dir.File("b-hover.bmp"), Bytes{'o', 'l', 'd'});
    fs::create_directory(dir.File("b.css"));
    std::vector<std::string> args = {"@in.bmp", "@b.bmp", "--states"};
    args.insert(args.end(), kValues.begin(), kValues.end());
    const ProcessResult run = Cli(dir, args);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("b.css"), std::string::npos) << run.err;
    EXPECT_EQ(FolderListing(dir.Path()),
              (std::vector<std::string>{"b-hover.bmp", "b.css", "in.bmp"}));
    EXPECT_EQ(ReadFileBytes(dir.File("b-hover.bmp")), (Bytes{'o', 'l', 'd'}));

    EXPECT_EQ(Cli(dir, {"@in.bmp", "-", "--states", "--pick", "0,0,0"}).exitCode, 2);
}

} // namespace

} // namespace pelto
