// File names as pelto-cli prints them, and that the shell reads each one
// back as the name it was.

#include "cli/NameQuoting.h"
#include "support/SystemTestSupport.h"

#include <gtest/gtest.h>

namespace pelto {

namespace {

struct QuotingCase {
    const char* name;
    std::string raw;
    std::string quoted;
    std::string alwaysQuoted;
};

void PrintTo(const QuotingCase& c, std::ostream* out) {
    *out << c.name;
}

class NameQuoting : public ::testing::TestWithParam<QuotingCase> {};

TEST_P(NameQuoting, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(QuotedName(GetParam().raw), GetParam().quoted);
    EXPECT_EQ(AlwaysQuotedName(GetParam().raw), GetParam().alwaysQuoted);
}

// printf '%s' QUOTED in the shell prints the name itself.
TEST_P(NameQuoting, IsReadBackByTheShellAsTheName) {
    for (const std::string& quoted : {GetParam().quoted, GetParam().alwaysQuoted}) {
        const ProcessResult r = RunProcess({"/bin/bash", "-c", "printf '%s' " + quoted});
        EXPECT_EQ(r.out, GetParam().raw) << quoted;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameQuoting,
    ::testing::Values(
        QuotingCase{"Plain", "pictures/logo-12.png", "pictures/logo-12.png",
                    "'pictures/logo-12.png'"},
        QuotingCase{"PlainPunctuation", "a%b+c,d:e@f]g_h", "a%b+c,d:e@f]g_h", "'a%b+c,d:e@f]g_h'"},
        QuotingCase{"Japanese", "ロゴ.png", "ロゴ.png", "'ロゴ.png'"},
        QuotingCase{"Space", "a b.png", "'a b.png'", "'a b.png'"},
        QuotingCase{"Empty", "", "''", "''"}, QuotingCase{"TildeFirst", "~x", "'~x'", "'~x'"},
        QuotingCase{"TildeAndHashInside", "x~#", "x~#", "'x~#'"},
        QuotingCase{"HashFirst", "#x", "'#x'", "'#x'"},
        QuotingCase{"BraceAlone", "{", "'{'", "'{'"},
        QuotingCase{"BracesInside", "x{y}", "x{y}", "'x{y}'"},
        QuotingCase{"ShellWords", "a=b;c|d&e*f?g", "'a=b;c|d&e*f?g'", "'a=b;c|d&e*f?g'"},
        QuotingCase{"SingleQuote", "it's.png", "\"it's.png\"", "\"it's.png\""},
        QuotingCase{"SingleQuoteAndDollar", "a'$b", "'a'\\''$b'", "'a'\\''$b'"},
        QuotingCase{"Backslash", "a\\b", "'a\\b'", "'a\\b'"},
        QuotingCase{"Newline", "a\nb", "'a'$'\\n''b'", "'a'$'\\n''b'"},
        QuotingCase{"ForgedLine", "x.png\n3/3 y.png", "'x.png'$'\\n''3/3 y.png'",
                    "'x.png'$'\\n''3/3 y.png'"},
        QuotingCase{"OnlyControls", "\r\t", "''$'\\r\\t'", "''$'\\r\\t'"},
        QuotingCase{"TerminalEscape", "\x1b[31mred", "''$'\\033''[31mred'", "''$'\\033''[31mred'"},
        QuotingCase{"Delete", "a\x7f", "'a'$'\\177'", "'a'$'\\177'"},
        QuotingCase{"ControlAndSingleQuote", "'\n", "''\\'''$'\\n'", "''\\'''$'\\n'"},
        QuotingCase{"NoUtf8", "\xe9t\xe9", "''$'\\351''t'$'\\351'", "''$'\\351''t'$'\\351'"},
        QuotingCase{"C1Control", "a\xc2\x9b", "'a'$'\\302\\233'", "'a'$'\\302\\233'"},
        QuotingCase{"NoBreakSpaceIsPrintable", "a\xc2\xa0z", "a\xc2\xa0z", "'a\xc2\xa0z'"},
        QuotingCase{"Surrogate", "\xed\xa0\x80", "''$'\\355\\240\\200'", "''$'\\355\\240\\200'"},
        QuotingCase{"CutShortCharacter", "\xe3\x83", "''$'\\343\\203'", "''$'\\343\\203'"}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
