// Runs the real pelto-cli executable and checks its files and exit codes.

#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/KeptInputs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace pelto {

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode = -1;
    bool signalled = false;
    std::string output; // stdout and stderr together
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q.append("'\\''");
        else
            q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

CliRun RunCli(const std::vector<std::string>& args) {
    std::string command = Quote(PELTO_CLI);
    for (const std::string& a : args)
        command.append(" ").append(Quote(a));
    command.append(" 2>&1");
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.signalled = WIFSIGNALED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(PeltoCli, WritesWhatTheDocumentComputes) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(41, 29, {8, 3})); // odd width: row padding
    const CliRun run = RunCli({dir.File("in.bmp"), dir.File("out.bmp"), "--pick", "0,0,5", "--pick",
                               "40,28,0", "--angle", "135", "--contrast", "200", "--width", "4",
                               "--shape", "round", "--outline", "outer"});
    ASSERT_EQ(run.exitCode, 0) << run.output;

    DocOpenResult expected = OpenDocument(dir.File("in.bmp"));
    ASSERT_TRUE(expected.doc);
    expected.doc->SelectBackground(0, 0, 5);
    expected.doc->SelectBackground(40, 28, 0);
    expected.doc->MakeButton(ButtonParams{135, 200, 4, BevelShape::Round, BevelOutline::Outer});
    ASSERT_EQ(SaveDocument(*expected.doc, dir.File("expected.bmp")), "");
    EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), ReadFileBytes(dir.File("expected.bmp")));
    EXPECT_NE(ReadFileBytes(dir.File("out.bmp")), ReadFileBytes(dir.File("in.bmp")));
}

TEST(PeltoCli, HelpExplainsTheOptions) {
    const CliRun run = RunCli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--pick", "--angle", "--contrast", "--width", "--shape", "--outline"})
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
}

struct Refusal {
    const char* name;
    std::function<Bytes()> input; // nothing written when it returns {0xFF}
    std::vector<std::string> extra;
    const char* expectedText;
};

Bytes NoFile() {
    return {0xFF};
}

class PeltoCliRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PeltoCliRefusal, ExitsNonZeroAndLeavesTheOutputUntouched) {
    const Refusal& c = GetParam();
    for (bool outputExists : {false, true}) {
        TempDir dir;
        const Bytes input = c.input();
        if (input != NoFile()) WriteFileBytes(dir.File("in.bmp"), input);
        const Bytes previous = MakeBmp24(2, 2, RGB(1, 2, 3));
        if (outputExists) WriteFileBytes(dir.File("out.bmp"), previous);

        std::vector<std::string> args = {dir.File("in.bmp"), dir.File("out.bmp")};
        for (const std::string& a : c.extra)
            args.push_back(a == "DIR" ? dir.Path() : a);
        const CliRun run = RunCli(args);
        EXPECT_FALSE(run.signalled);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_NE(run.output.find(c.expectedText), std::string::npos) << run.output;
        if (outputExists)
            EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), previous);
        else
            EXPECT_FALSE(fs::exists(dir.File("out.bmp")));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
                  (input != NoFile() ? 1 : 0) + (outputExists ? 1 : 0));
    }
}

Bytes GoodPicture() {
    return LogoBmp(10, 8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeltoCliRefusal,
    ::testing::Values(
        Refusal{"MissingInput", NoFile, {"--pick", "0,0,0"}, "in.bmp"},
        // Only a picture with transparency comes with a selection of its own.
        Refusal{"NoPickOnAnOpaquePicture", GoodPicture, {}, "at least one --pick"},
        Refusal{"EmptyInput", [] { return Bytes{}; }, {"--pick", "0,0,0"}, docmsg::kEmptyPicture},
        Refusal{"NotABmp",
                [] {
                    return Bytes{'G', 'I', 'F', '8'};
                },
                {"--pick", "0,0,0"},
                "フォーマットが違います"},
        Refusal{"NotABmpInEnglish",
                [] {
                    return Bytes{'G', 'I', 'F', '8'};
                },
                {"--pick", "0,0,0", "--lang", "en"},
                "Not a BMP or PNG file"},
        Refusal{"EightBit",
                [] {
                    Bytes b = GoodPicture();
                    PutU16(b, 28, 8);
                    return b;
                },
                {"--pick", "0,0,0"},
                "フルカラービットマップではありません"},
        Refusal{"Compressed",
                [] {
                    Bytes b = GoodPicture();
                    PutU32(b, 30, 1);
                    return b;
                },
                {"--pick", "0,0,0"},
                "ビットマップのフォーマットがサポートされていない形式です"},
        Refusal{"Truncated",
                [] {
                    Bytes b = GoodPicture();
                    b.pop_back();
                    return b;
                },
                {"--pick", "0,0,0"},
                "フォーマットが違います"},
        Refusal{"PickOutside",
                GoodPicture,
                {"--pick", "10,0,0", "--lang", "en"},
                "The point 10,0 lies outside the 10 x 8 picture."},
        Refusal{"PickBelow",
                GoodPicture,
                {"--pick", "0,8,0"},
                "点 0,8 は 10 x 8 の画像の外にあります。"},
        Refusal{"NoPick", GoodPicture, {}, "--pick"},
        Refusal{"BadAngle", GoodPicture, {"--pick", "0,0,0", "--angle", "360"}, "--angle"}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(PeltoCli, UnwritableOutputIsReportedAndLeavesNothing) {
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), GoodPicture());
    fs::create_directory(dir.File("out.bmp"));
    const CliRun toFolder = RunCli({dir.File("in.bmp"), dir.File("out.bmp"), "--pick", "0,0,0"});
    EXPECT_NE(toFolder.exitCode, 0);
    EXPECT_TRUE(fs::is_directory(dir.File("out.bmp")));
    EXPECT_TRUE(fs::is_empty(dir.File("out.bmp")));

    const CliRun toNowhere =
        RunCli({dir.File("in.bmp"), dir.File("no/out.bmp"), "--pick", "0,0,0"});
    EXPECT_NE(toNowhere.exitCode, 0);
    EXPECT_NE(toNowhere.output.find("no/out.bmp"), std::string::npos);
}

// Every file the fuzzer keeps: refused with a message and no output, or bevelled and written.
TEST(PeltoCli, HandlesEveryKeptHostileFileWithoutASignal) {
    const KeptInputs kept = KeptHostileFiles();
    EXPECT_EQ(kept.faults, std::vector<std::string>{});
    for (const fs::path file : kept.paths) {
        TempDir dir;
        fs::copy_file(file, dir.File("in.bmp"));
        const CliRun run = RunCli({dir.File("in.bmp"), dir.File("out.bmp"), "--pick", "0,0,10"});
        EXPECT_FALSE(run.signalled) << file;
        EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << file << run.output;
        if (file.filename().string().starts_with("bad-")) {
            EXPECT_NE(run.exitCode, 0) << file;
        }
        if (run.exitCode != 0) {
            EXPECT_NE(run.output.find("pelto-cli: "), std::string::npos) << file;
            EXPECT_FALSE(fs::exists(dir.File("out.bmp"))) << file;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
                      1)
                << file;
        } else {
            EXPECT_EQ(fs::file_size(dir.File("out.bmp")), fs::file_size(file)) << file;
        }
    }
}

struct Unusable {
    const char* name;
    std::function<std::string(const TempDir&)> input;  // path of the input
    std::function<std::string(const TempDir&)> output; // path of the output
    const char* expectedText;
};

std::string GoodInput(const TempDir& d) {
    WriteFileBytes(d.File("in.bmp"), GoodPicture());
    return d.File("in.bmp");
}
std::string FreshOutput(const TempDir& d) {
    return d.File("out.bmp");
}

class PeltoCliUnusablePath : public ::testing::TestWithParam<Unusable> {};

TEST_P(PeltoCliUnusablePath, ExitsNonZeroWithAMessageAndWritesNothing) {
    TempDir dir;
    const std::string input = GetParam().input(dir);
    const std::string output = GetParam().output(dir);
    const auto before = std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator());
    const CliRun run = RunCli({input, output, "--pick", "0,0,0"});
    EXPECT_FALSE(run.signalled);
    EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output;
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(GetParam().expectedText), std::string::npos) << run.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeltoCliUnusablePath,
    ::testing::Values(
        Unusable{"InputIsAFolder", [](const TempDir& d) { return d.Path(); }, FreshOutput,
                 "フォルダ"},
        Unusable{"InputIsADanglingLink",
                 [](const TempDir& d) {
                     fs::create_symlink(d.File("gone.bmp"), d.File("link.bmp"));
                     return d.File("link.bmp");
                 },
                 FreshOutput, "見つかりません"},
        Unusable{"InputIsAFifoWhoseWriterWritesNothing",
                 [](const TempDir& d) {
                     const std::string fifo = d.File("pipe.bmp");
                     ::mkfifo(fifo.c_str(), 0600);
                     // The run waits for its writer, as cat would.
                     std::thread([fifo] { ::close(::open(fifo.c_str(), O_WRONLY)); }).detach();
                     return fifo;
                 },
                 FreshOutput, docmsg::kEmptyPicture},
        Unusable{"InputInAMissingFolder", [](const TempDir& d) { return d.File("no/in.bmp"); },
                 FreshOutput, "見つかりません"},
        Unusable{"OutputOnAFullDevice", GoodInput,
                 [](const TempDir&) { return std::string("/dev/full"); },
                 "ディスクの空き容量が足りません"},
        Unusable{"OutputBelowAFile", GoodInput,
                 [](const TempDir& d) { return d.File("in.bmp/out.bmp"); },
                 "フォルダではありません"},
        Unusable{"OutputNameTooLong", GoodInput,
                 [](const TempDir& d) { return d.File(std::string(300, 'o') + ".bmp"); },
                 "長すぎます"}),
    [](const auto& c) { return std::string(c.param.name); });

struct OutputKind {
    const char* name;
    const char* input; // in.png has a transparent background, in.bmp none
    std::vector<std::string> args;
    bool png;
};

class PeltoCliKinds : public ::testing::TestWithParam<OutputKind> {};

// OUT's kind comes from its name, --format, or IN's kind on standard output;
// a picture on transparency needs no pick.
TEST_P(PeltoCliKinds, WritesTheKindAskedFor) {
    const OutputKind& c = GetParam();
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), LogoBmp(41, 29));
    CDIB logo;
    LoadBytes(logo, LogoBmp(41, 29));
    CAlphaPlane alpha(41, 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x)
            if (logo.GetPixel(x, y) == logo.GetPixel(0, 0)) alpha.SetAlpha(x, y, 0);
    {
        CFile out(dir.File("in.png"), CFile::Mode::CreateWrite);
        png::Encode(logo, &alpha, out);
    }
    std::vector<std::string> args = {dir.File(c.input)};
    for (const std::string& a : c.args)
        args.push_back(a.starts_with("out.") ? dir.File(a) : a);
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const Bytes out =
        c.args[0] == "-" ? Bytes(run.output.begin(), run.output.end()) : ReadFileBytes(args[1]);
    ASSERT_GT(out.size(), 8u);
    EXPECT_EQ(png::HasSignature(out.data(), out.size()), c.png);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeltoCliKinds,
    ::testing::Values(
        OutputKind{"PngToPngWithoutAPick", "in.png", {"out.png"}, true},
        OutputKind{"BmpToUpperCasePng", "in.bmp", {"out.PNG", "--pick", "0,0,0"}, true},
        OutputKind{"PngToBmp", "in.png", {"out.bmp", "--outline", "outer"}, false},
        OutputKind{"PngToStandardOutput", "in.png", {"-"}, true},
        OutputKind{"PngToStandardOutputAsBmp", "in.png", {"-", "--format", "bmp"}, false}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(PeltoCli, CanOverwriteItsInput) {
    TempDir dir;
    const Bytes original = LogoBmp(41, 29);
    WriteFileBytes(dir.File("in.bmp"), original);
    const CliRun run = RunCli({dir.File("in.bmp"), dir.File("in.bmp"), "--pick", "0,0,0"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(ReadFileBytes(dir.File("in.bmp")), original);
}

} // namespace

} // namespace pelto
