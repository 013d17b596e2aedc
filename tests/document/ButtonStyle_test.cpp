#include "document/ButtonStyle.h"
#include "document/DocMessages.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace pelto {

namespace {

using translation::Fill;

class StyleRoundTrip : public ::testing::TestWithParam<ButtonStyle> {};

TEST_P(StyleRoundTrip, ComesBackFromItsTextAndItsFile) {
    const ButtonStyle& style = GetParam();
    const StyleRead parsed = ParseStyle(FormatStyle(style), "style.json");
    ASSERT_TRUE(parsed.style) << parsed.error;
    EXPECT_EQ(*parsed.style, style);
    // A plain pick is written as before the key existed.
    const bool anyConnected =
        style.background && std::any_of(style.background->begin(), style.background->end(),
                                        [](const BackgroundPick& pick) { return pick.connected; });
    EXPECT_EQ(FormatStyle(style).find("\"connected\": true") != std::string::npos, anyConnected);
    EXPECT_EQ(FormatStyle(style).find("connected") != std::string::npos, anyConnected);
    EXPECT_EQ(FormatStyle(style).find("\"cut_out\": true") != std::string::npos, style.cutOut);
    EXPECT_EQ(FormatStyle(style).find("cut_out") != std::string::npos, style.cutOut);
    EXPECT_EQ(FormatStyle(style).find("states") != std::string::npos, style.states);

    TempDir dir;
    ASSERT_EQ(WriteStyle(style, dir.File("style.json")), "");
    const StyleRead read = ReadStyle(dir.File("style.json"));
    ASSERT_TRUE(read.style) << read.error;
    EXPECT_EQ(*read.style, style);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleRoundTrip,
    ::testing::Values(ButtonStyle{},
                      ButtonStyle{{359, 500, 30, BevelShape::Round, BevelOutline::Outer},
                                  std::vector<BackgroundPick>{}},
                      ButtonStyle{
                          {135, 0, 0, BevelShape::Cut, BevelOutline::Outer},
                          std::vector<BackgroundPick>{{0, 0, 0}, {INT32_MIN, INT32_MAX, 100}}},
                      ButtonStyle{{}, std::vector<BackgroundPick>{{3, 4, 5, true}, {3, 4, 5}}},
                      ButtonStyle{{}, std::vector<BackgroundPick>{{0, 0, 10}}, true},
                      ButtonStyle{{}, std::nullopt, false, true}));

// A good style's keys with their JSON values, changed, dropped ("") or added.
std::string StyleText(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::pair<std::string, std::string>> keys = {
        {"version", "1"},
        {"angle", "135"},
        {"contrast", "160"},
        {"width", "8"},
        {"shape", "\"round\""},
        {"outline", "\"inner\""},
        {"background", R"([{"x": 1, "y": 2, "tolerance": 10}])"}};
    for (const auto& [key, value] : changes) {
        const auto found = std::find_if(keys.begin(), keys.end(),
                                        [&](const auto& kept) { return kept.first == key; });
        if (found == keys.end())
            keys.emplace_back(key, value);
        else
            found->second = value;
    }
    std::string text = "{";
    for (const auto& [key, value] : keys)
        if (!value.empty()) text += (text.size() > 1 ? ", \"" : "\"") + key + "\": " + value;
    return text + "}";
}

struct Refusal {
    const char* name;
    std::string text;
    std::string reason;        // the line after the one naming the file
    std::string expected = {}; // and the line after that, for a bad value
};

Refusal Bad(const char* name, std::vector<std::pair<std::string, std::string>> changes,
            const std::string& key, const char* expected, const std::string& argument,
            const std::string& second = {}) {
    return {name, StyleText(changes), Fill(docmsg::kStyleBadValue, key),
            Fill(Fill(expected, argument), second, 2)};
}

class StyleRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(StyleRefusal, NamesTheFileAndWhatIsWrong) {
    const Refusal& c = GetParam();
    const StyleRead read = ParseStyle(c.text, "dir/logo.json");
    EXPECT_FALSE(read.style);
    std::string message = Fill(docmsg::kStyleRefused, "dir/logo.json") + "\n" + c.reason;
    if (!c.expected.empty()) message += "\n" + c.expected;
    EXPECT_EQ(read.error, message);
    EXPECT_EQ(read.error.find('%'), std::string::npos) << "every marker filled";
}

const std::string kPick = R"([{"x": 1, "y": 2, "tolerance": 10}, )";
// A good style with key: value again in front.
std::string Twice(const std::string& key, const std::string& value) {
    return "{\"" + key + "\": " + value + ", " + StyleText({}).substr(1);
}
const std::string kNulThenGarbage = StyleText({}) + std::string("\0{]", 3);
// A value nested depth levels deep in arrays.
std::string Nested(size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleRefusal,
    ::testing::Values(
        Refusal{"NotJson", "{\"version\": x}", Fill(docmsg::kStyleNotJson, "13")}, // at the x
        Refusal{"NotAnObject", "[1]", docmsg::kStyleNotObject},
        Refusal{"NoVersion", StyleText({{"version", ""}}),
                Fill(docmsg::kStyleMissingKey, "version")},
        Refusal{"LaterVersion", StyleText({{"version", "2"}}), Fill(docmsg::kStyleVersion, "2")},
        Refusal{"UnknownKey", StyleText({{"colour", "\"red\""}}),
                Fill(docmsg::kStyleUnknownKey, "colour")},
        Refusal{"NoWidth", StyleText({{"width", ""}}), Fill(docmsg::kStyleMissingKey, "width")},
        Bad("AngleTooLarge", {{"angle", "360"}}, "angle", docmsg::kStyleWholeNumber, "0", "359"),
        Bad("WidthTooLarge", {{"width", "31"}}, "width", docmsg::kStyleWholeNumber, "0", "30"),
        Bad("WidthAFraction", {{"width", "5.5"}}, "width", docmsg::kStyleWholeNumber, "0", "30"),
        Bad("WidthHuge", {{"width", "18446744073709551615"}}, "width", docmsg::kStyleWholeNumber,
            "0", "30"),
        Bad("UnknownShape", {{"shape", "\"square\""}}, "shape", docmsg::kStyleOneOf,
            "\"cut\", \"round\""),
        Bad("BackgroundOpaque", {{"background", "\"opaque\""}}, "background",
            docmsg::kStyleBackground, ""),
        Refusal{"PickWithUnknownKey",
                StyleText({{"background", kPick + R"({"x": 1, "y": 2, "z": 0}])"}}),
                Fill(docmsg::kStyleUnknownKey, "background[1].z")},
        Refusal{"PickWithoutTolerance", StyleText({{"background", kPick + R"({"x": 1, "y": 2}])"}}),
                Fill(docmsg::kStyleMissingKey, "background[1].tolerance")},
        Bad("ToleranceTooLarge", {{"background", kPick + R"({"x": 1, "y": 2, "tolerance": 101}])"}},
            "background[1].tolerance", docmsg::kStyleWholeNumber, "0", "100"),
        Bad("ConnectedANumber",
            {{"background", kPick + R"({"x": 1, "y": 2, "tolerance": 0, "connected": 1}])"}},
            "background[1].connected", docmsg::kStyleOneOf, "true, false"),
        Bad("ConnectedAString",
            {{"background", R"([{"x": 1, "y": 2, "tolerance": 0, "connected": "true"}])"}},
            "background[0].connected", docmsg::kStyleOneOf, "true, false"),
        Bad("ConnectedPastADouble",
            {{"background", kPick + R"({"connected": 1e400, "x": 1, "y": 2, "tolerance": 0}])"}},
            "background[1].connected", docmsg::kStyleOneOf, "true, false"),
        Bad("CutOutANumber", {{"cut_out", "1"}}, "cut_out", docmsg::kStyleOneOf, "true, false"),
        Bad("StatesAString", {{"states", "\"yes\""}}, "states", docmsg::kStyleOneOf, "true, false"),
        Bad("CutOutPastADouble", {{"cut_out", "1e400"}}, "cut_out", docmsg::kStyleOneOf,
            "true, false"),
        Bad("PickOutsideAnInt", {{"background", R"([{"x": 2147483648, "y": 0, "tolerance": 0}])"}},
            "background[0].x", docmsg::kStyleWholeNumber, "-2147483648", "2147483647"),
        // Past a double's range, where the reading stops.
        Bad("WidthPastADouble", {{"width", "1e400"}}, "width", docmsg::kStyleWholeNumber, "0",
            "30"),
        Bad("WidthOf400Digits", {{"width", std::string(400, '9')}}, "width",
            docmsg::kStyleWholeNumber, "0", "30"),
        Bad("WidthPastADoubleBelow", {{"width", "-1e400"}}, "width", docmsg::kStyleWholeNumber, "0",
            "30"),
        Bad("PickPastADouble", {{"background", kPick + R"({"x": 1, "y": 1e400, "tolerance": 0}])"}},
            "background[1].y", docmsg::kStyleWholeNumber, "-2147483648", "2147483647"),
        Bad("PickListPastADouble", {{"background", "[1e400]"}}, "background[0]",
            docmsg::kStyleBackground, ""),
        Refusal{"VersionPastADouble", StyleText({{"version", "1e400"}}),
                Fill(docmsg::kStyleVersion, "1e400")},
        Refusal{"UnknownKeyPastADouble", StyleText({{"colour", "[1e400]"}}),
                Fill(docmsg::kStyleUnknownKey, "colour")},
        Refusal{"KeyTwice", Twice("width", "999"), Fill(docmsg::kStyleTwice, "width")},
        Refusal{"PickKeyTwice", StyleText({{"background", kPick + R"({"x": 1, "x": 1, "y": 2}])"}}),
                Fill(docmsg::kStyleTwice, "background[1].x")},
        // Deeper than any style goes: refused where it starts, however deep,
        // before anything recurses over it.
        Refusal{"NestedInVersion", "{\"version\": " + Nested(100000) + ", \"angle\": 0}",
                Fill(docmsg::kStyleTooDeep, "version[0][0]")},
        Refusal{"NestedAtTheTop", Nested(100000), Fill(docmsg::kStyleTooDeep, "[0][0][0]")},
        Refusal{"NestedInAPick",
                StyleText({{"background", kPick + R"({"x": {"y": 1}, "y": 2, "tolerance": 0}])"}}),
                Fill(docmsg::kStyleTooDeep, "background[1].x")},
        // However it is handed over, not only as a file.
        Refusal{"OverAMebibyte", StyleText({}) + std::string(1 << 20, ' '), docmsg::kTooBig},
        Refusal{"NulThenGarbage", kNulThenGarbage,
                Fill(docmsg::kStyleNotJson, std::to_string(kNulThenGarbage.size() - 2))}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(ReadStyle, NamesAFileItCannotReadOrThatIsTooBig) {
    TempDir dir;
    EXPECT_EQ(ReadStyle(dir.File("none.json")).error,
              docmsg::CannotOpen(dir.File("none.json"), ENOENT));
    WriteFileBytes(dir.File("big.json"), Bytes((1 << 20) + 1, ' '));
    EXPECT_EQ(ReadStyle(dir.File("big.json")).error,
              Fill(docmsg::kStyleRefused, dir.File("big.json")) + "\n" + docmsg::kTooBig);
}

} // namespace

} // namespace pelto
