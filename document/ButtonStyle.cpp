#include "ButtonStyle.h"

#include "DocMessages.h"
#include "platform/FileSave.h"

#include <algorithm>
#include <climits>
#include <nlohmann/json.hpp>

namespace pelto {

namespace {

// Ordered, so a written style lists its values as the README does.
using Json = nlohmann::ordered_json;

constexpr uint64_t kMaxStyleBytes = 1 << 20; // far more than any style takes

constexpr const char* kVersionKey = "version";
constexpr const char* kBackgroundKey = "background";
constexpr const char* kTransparent = "transparent";

// Why a text is no style, thrown from wherever its reading finds it out.
struct Refusal {
    std::string reason;
};

[[noreturn]] void Refuse(const char* message, const std::string& argument) {
    throw Refusal{translation::Fill(docmsg::Text(message), argument)};
}

[[noreturn]] void RefuseValue(const std::string& key, const char* expected,
                              const std::string& argument, const std::string& second = {}) {
    throw Refusal{
        translation::Fill(docmsg::Text(docmsg::kStyleBadValue), key) + "\n" +
        translation::Fill(translation::Fill(docmsg::Text(expected), argument), second, 2)};
}

std::string Refused(const std::string& name, const std::string& reason) {
    return translation::Fill(docmsg::Text(docmsg::kStyleRefused), name) + "\n" + reason;
}

void CheckKeys(const Json& object, const std::vector<std::string>& known,
               const std::string& prefix) {
    for (const auto& [key, value] : object.items())
        if (std::find(known.begin(), known.end(), key) == known.end())
            Refuse(docmsg::kStyleUnknownKey, prefix + key);
}

const Json& Member(const Json& object, const char* key, const std::string& shown) {
    const auto found = object.find(key);
    if (found == object.end()) Refuse(docmsg::kStyleMissingKey, shown);
    return *found;
}

int32_t WholeNumber(const Json& object, const char* key, const std::string& shown, int32_t low,
                    int32_t high) {
    const Json& value = Member(object, key, shown);
    // Unsigned first: get<int64_t> would wrap the largest.
    const bool fits = value.is_number_unsigned()
                          ? value.get<uint64_t>() <= uint64_t(high) && low <= 0
                          : value.is_number_integer() && value.get<int64_t>() >= low &&
                                value.get<int64_t>() <= high;
    if (!fits)
        RefuseValue(shown, docmsg::kStyleWholeNumber, std::to_string(low), std::to_string(high));
    return value.get<int32_t>();
}

int32_t Choice(const Json& object, const StyleChoice& choice) {
    const Json& value = Member(object, choice.name, choice.name);
    for (int32_t i = 0; i < 2; ++i)
        if (value == choice.choices[i]) return i;
    RefuseValue(choice.name, docmsg::kStyleOneOf,
                std::string("\"") + choice.choices[0] + "\", \"" + choice.choices[1] + "\"");
}

std::vector<BackgroundPick> Background(const Json& value) {
    if (value == kTransparent) return {};
    if (!value.is_array() || value.empty())
        RefuseValue(kBackgroundKey, docmsg::kStyleBackground, {});
    std::vector<BackgroundPick> picks;
    for (size_t i = 0; i < value.size(); ++i) {
        const std::string at = std::string(kBackgroundKey) + "[" + std::to_string(i) + "]";
        const Json& pick = value[i];
        if (!pick.is_object()) RefuseValue(at, docmsg::kStyleBackground, {});
        CheckKeys(pick, {"x", "y", "tolerance"}, at + ".");
        picks.push_back(
            {WholeNumber(pick, "x", at + ".x", INT32_MIN, INT32_MAX),
             WholeNumber(pick, "y", at + ".y", INT32_MIN, INT32_MAX),
             WholeNumber(pick, "tolerance", at + ".tolerance", 0, BackgroundPick::kMaxTolerance)});
    }
    return picks;
}

ButtonStyle Style(const Json& json) {
    if (!json.is_object()) throw Refusal{docmsg::Text(docmsg::kStyleNotObject)};
    const Json& version = Member(json, kVersionKey, kVersionKey);
    if (version != kStyleVersion) Refuse(docmsg::kStyleVersion, version.dump());
    std::vector<std::string> known = {kVersionKey, kBackgroundKey};
    for (const StyleNumber& number : kStyleNumbers)
        known.push_back(number.name);
    for (const StyleChoice& choice : kStyleChoices)
        known.push_back(choice.name);
    CheckKeys(json, known, {});
    ButtonStyle style;
    for (const StyleNumber& number : kStyleNumbers)
        style.params.*number.value =
            WholeNumber(json, number.name, number.name, number.low, number.high);
    for (const StyleChoice& choice : kStyleChoices)
        style.params.*choice.value = Choice(json, choice);
    if (const auto found = json.find(kBackgroundKey); found != json.end())
        style.background = Background(*found);
    return style;
}

} // namespace

StyleRead ParseStyle(const std::string& text, const std::string& name) {
    try {
        Json json;
        try {
            json = Json::parse(text);
        } catch (const Json::parse_error& e) {
            Refuse(docmsg::kStyleNotJson, std::to_string(e.byte));
        }
        return {Style(json), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, Refused(name, refusal.reason)};
    }
}

std::string FormatStyle(const ButtonStyle& style) {
    Json json;
    json[kVersionKey] = kStyleVersion;
    for (const StyleNumber& number : kStyleNumbers)
        json[number.name] = style.params.*number.value;
    for (const StyleChoice& choice : kStyleChoices)
        json[choice.name] = choice.choices[style.params.*choice.value != 0];
    if (style.background) {
        Json picks = Json::array();
        for (const BackgroundPick& pick : *style.background)
            picks.push_back({{"x", pick.x}, {"y", pick.y}, {"tolerance", pick.tolerance}});
        json[kBackgroundKey] = style.background->empty() ? Json(kTransparent) : picks;
    }
    return json.dump(2) + "\n";
}

StyleRead ReadStyle(const std::string& path) {
    std::string text;
    try {
        CFile file(path, CFile::Mode::Read);
        char buffer[4096];
        while (const uint64_t count = file.Read(buffer, sizeof buffer)) {
            text.append(buffer, count);
            if (text.size() > kMaxStyleBytes)
                return {std::nullopt, Refused(path, docmsg::Text(docmsg::kTooBig))};
        }
    } catch (const CFileException& e) {
        return {std::nullopt, docmsg::CannotOpen(path, e.GetError())};
    }
    return ParseStyle(text, path);
}

std::string WriteStyle(const ButtonStyle& style, const std::string& path) {
    const std::string text = FormatStyle(style);
    const SaveOutcome outcome =
        SaveFile(path, [&](CFile& file) { file.Write(text.data(), text.size()); });
    return outcome.error ? docmsg::CannotSave(path, outcome) : std::string();
}

} // namespace pelto
