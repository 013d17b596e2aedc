#include "ButtonStyle.h"

#include "DocMessages.h"
#include "system/FileSave.h"

#include <algorithm>
#include <climits>
#include <nlohmann/json.hpp>
#include <unordered_set>

namespace pelto {

namespace {

// Ordered, so a written style lists its values as docs/styles-and-batches.md does.
using Json = nlohmann::ordered_json;

constexpr uint64_t kMaxStyleBytes = 1 << 20; // far more than any style takes

constexpr const char* kVersionKey = "version";
constexpr const char* kBackgroundKey = "background";
constexpr const char* kTransparent = "transparent";
// A pick's one key that may be left out: false then.
constexpr const char* kConnectedKey = "connected";
// A style's keys that may be left out: false then, and written only when true.
constexpr const char* kCutOutKey = "cut_out";
constexpr const char* kStatesKey = "states";

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

[[noreturn]] void RefuseNumber(const std::string& shown, int32_t low, int32_t high) {
    RefuseValue(shown, docmsg::kStyleWholeNumber, std::to_string(low), std::to_string(high));
}

[[noreturn]] void RefuseChoice(const StyleChoice& choice) {
    RefuseValue(choice.name, docmsg::kStyleOneOf,
                std::string("\"") + choice.choices[0] + "\", \"" + choice.choices[1] + "\"");
}

[[noreturn]] void RefuseBoolean(const std::string& shown) {
    RefuseValue(shown, docmsg::kStyleOneOf, "true, false");
}

// A pick's values, in the order they are read.
struct PickNumber {
    const char* name;
    int32_t BackgroundPick::*value;
    ValueRange range;
};
constexpr ValueRange kAnyPosition{INT32_MIN, INT32_MAX, 0};
constexpr PickNumber kPickNumbers[] = {
    {"x", &BackgroundPick::x, kAnyPosition},
    {"y", &BackgroundPick::y, kAnyPosition},
    {"tolerance", &BackgroundPick::tolerance, kToleranceRange},
};

// Builds the value through nlohmann's SAX interface, as its own parse does,
// and refuses what that parse lets through or throws: a key given twice in
// one object (the last would win unseen) and a number past a double's range,
// which ends the parse where it stands and is named by where it stands.
// Members are appended, not looked up, so a long object reads in linear time.
class StyleReader {
public:
    Json root;

    bool null() { return Add(nullptr); }
    bool boolean(bool value) { return Add(value); }
    bool number_integer(Json::number_integer_t value) { return Add(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Add(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return Add(value); }
    bool string(std::string& value) { return Add(std::move(value)); }
    bool binary(Json::binary_t& value) { return Add(Json::binary(std::move(value))); }
    bool start_object(std::size_t) {
        CheckDepth();
        m_keys.emplace_back();
        return Open(Json::object());
    }
    bool start_array(std::size_t) {
        CheckDepth();
        return Open(Json::array());
    }
    bool end_object() {
        m_keys.pop_back();
        return Close();
    }
    bool end_array() { return Close(); }

    // The member goes in at once, its value to come, so that the path names it.
    bool key(std::string& key) {
        const bool first = m_keys.back().insert(key).second;
        m_open.back()->get_ref<Json::object_t&>().emplace_back(std::move(key), nullptr);
        if (!first) Refuse(docmsg::kStyleTwice, Path(m_open.size()));
        return true;
    }

    // position counts as the byte positions of parse_error do.
    bool parse_error(std::size_t position, const std::string& token, const Json::exception& error) {
        if (error.id == kNumberOverflow) RefuseHuge(token);
        Refuse(docmsg::kStyleNotJson, std::to_string(position));
    }

private:
    static constexpr int kNumberOverflow = 406; // nlohmann's out_of_range.406
    // A style, its background list and a pick: nothing valid lies deeper, and
    // a deeper value is refused before it is built, since building, copying,
    // printing or freeing one recurses once a level.
    static constexpr size_t kMaxDepth = 3;

    void CheckDepth() const {
        if (m_open.size() >= kMaxDepth) Refuse(docmsg::kStyleTooDeep, Path(m_open.size()));
    }

    Json& Place(Json&& value) {
        if (m_open.empty()) return root = std::move(value);
        Json& into = *m_open.back();
        if (into.is_array()) {
            into.push_back(std::move(value));
            return into.back();
        }
        return into.get_ref<Json::object_t&>().back().second = std::move(value);
    }
    bool Add(Json&& value) {
        Place(std::move(value));
        return true;
    }
    bool Open(Json&& value) {
        m_open.push_back(&Place(std::move(value)));
        return true;
    }
    bool Close() {
        m_open.pop_back();
        return true;
    }

    // The key being read in the open object at depth.
    const std::string& Key(size_t depth) const {
        return m_open[depth]->get_ref<const Json::object_t&>().back().first;
    }

    // Where the value being read stands in the first depth levels, named as
    // the messages name keys: background[0].x
    std::string Path(size_t depth) const {
        std::string path;
        for (size_t i = 0; i < depth; ++i) {
            // An open array holds the open value within it already, not the one being read.
            if (m_open[i]->is_array())
                path += "[" + std::to_string(m_open[i]->size() - (i + 1 < m_open.size())) + "]";
            else
                path += (i == 0 ? "" : ".") + Key(i);
        }
        return path;
    }

    // As Style() refuses a value it cannot take where this number stands.
    [[noreturn]] void RefuseHuge(const std::string& token) const {
        if (m_open.empty() || m_open[0]->is_array())
            throw Refusal{docmsg::Text(docmsg::kStyleNotObject)};
        const std::string& key = Key(0);
        if (key == kVersionKey) Refuse(docmsg::kStyleVersion, token);
        for (const StyleNumber& number : kStyleNumbers)
            if (key == number.name) RefuseNumber(key, number.range.low, number.range.high);
        for (const StyleChoice& choice : kStyleChoices)
            if (key == choice.name) RefuseChoice(choice);
        if (key == kCutOutKey || key == kStatesKey) RefuseBoolean(key);
        if (key != kBackgroundKey) Refuse(docmsg::kStyleUnknownKey, key);
        const bool inList = m_open.size() > 1 && m_open[1]->is_array();
        if (!inList || m_open.size() < 3 || !m_open[2]->is_object())
            RefuseValue(Path(inList ? 2 : 1), docmsg::kStyleBackground, {});
        for (const PickNumber& number : kPickNumbers)
            if (Key(2) == number.name) RefuseNumber(Path(3), number.range.low, number.range.high);
        if (Key(2) == kConnectedKey) RefuseBoolean(Path(3));
        Refuse(docmsg::kStyleUnknownKey, Path(3));
    }

    std::vector<Json*> m_open;                           // the objects and arrays being read
    std::vector<std::unordered_set<std::string>> m_keys; // the keys of each open object
};

Json ReadJson(const std::string& text) {
    StyleReader reader;
    Json::sax_parse(text, &reader); // refuses by throwing
    // nlohmann's lexer takes a NUL byte for the end of the text, so one
    // after a whole value was never read.
    if (const size_t nul = text.find('\0'); nul != std::string::npos)
        Refuse(docmsg::kStyleNotJson, std::to_string(nul + 1));
    return std::move(reader.root);
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
    if (!fits) RefuseNumber(shown, low, high);
    return value.get<int32_t>();
}

int32_t Choice(const Json& object, const StyleChoice& choice) {
    const Json& value = Member(object, choice.name, choice.name);
    for (int32_t i = 0; i < 2; ++i)
        if (value == choice.choices[i]) return i;
    RefuseChoice(choice);
}

// A key that may be left out (false) or be true or false.
bool Flag(const Json& object, const char* key, const std::string& shown) {
    const auto found = object.find(key);
    if (found == object.end()) return false;
    if (!found->is_boolean()) RefuseBoolean(shown);
    return found->get<bool>();
}

std::vector<BackgroundPick> Background(const Json& value) {
    if (value == kTransparent) return {};
    if (!value.is_array() || value.empty())
        RefuseValue(kBackgroundKey, docmsg::kStyleBackground, {});
    std::vector<std::string> known = {kConnectedKey};
    for (const PickNumber& number : kPickNumbers)
        known.push_back(number.name);
    std::vector<BackgroundPick> picks;
    for (size_t i = 0; i < value.size(); ++i) {
        const std::string at = std::string(kBackgroundKey) + "[" + std::to_string(i) + "]";
        const Json& pick = value[i];
        if (!pick.is_object()) RefuseValue(at, docmsg::kStyleBackground, {});
        CheckKeys(pick, known, at + ".");
        BackgroundPick& made = picks.emplace_back();
        for (const PickNumber& number : kPickNumbers)
            made.*number.value = WholeNumber(pick, number.name, at + "." + number.name,
                                             number.range.low, number.range.high);
        made.connected = Flag(pick, kConnectedKey, at + "." + kConnectedKey);
    }
    return picks;
}

ButtonStyle Style(const Json& json) {
    if (!json.is_object()) throw Refusal{docmsg::Text(docmsg::kStyleNotObject)};
    const Json& version = Member(json, kVersionKey, kVersionKey);
    if (version != kStyleVersion) Refuse(docmsg::kStyleVersion, version.dump());
    std::vector<std::string> known = {kVersionKey, kBackgroundKey, kCutOutKey, kStatesKey};
    for (const StyleNumber& number : kStyleNumbers)
        known.push_back(number.name);
    for (const StyleChoice& choice : kStyleChoices)
        known.push_back(choice.name);
    CheckKeys(json, known, {});
    ButtonStyle style;
    for (const StyleNumber& number : kStyleNumbers)
        style.params.*number.value =
            WholeNumber(json, number.name, number.name, number.range.low, number.range.high);
    for (const StyleChoice& choice : kStyleChoices)
        choice.set(style.params, Choice(json, choice));
    if (const auto found = json.find(kBackgroundKey); found != json.end())
        style.background = Background(*found);
    style.cutOut = Flag(json, kCutOutKey, kCutOutKey);
    style.states = Flag(json, kStatesKey, kStatesKey);
    return style;
}

} // namespace

StyleRead ParseStyle(const std::string& text, const std::string& name) {
    if (text.size() > kMaxStyleBytes)
        return {std::nullopt, Refused(name, docmsg::Text(docmsg::kTooBig))};
    try {
        return {Style(ReadJson(text)), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, Refused(name, refusal.reason)};
    } catch (const Json::exception&) {
        // Nothing above should let one through; were one to, the text is
        // still refused and named rather than ending the program.
        return {std::nullopt, translation::Fill(docmsg::Text(docmsg::kStyleRefused), name)};
    }
}

std::string FormatStyle(const ButtonStyle& style) {
    Json json;
    json[kVersionKey] = kStyleVersion;
    for (const StyleNumber& number : kStyleNumbers)
        json[number.name] = style.params.*number.value;
    for (const StyleChoice& choice : kStyleChoices)
        json[choice.name] = choice.choices[choice.get(style.params) != 0];
    if (style.background) {
        Json picks = Json::array();
        for (const BackgroundPick& pick : *style.background) {
            Json& made = picks.emplace_back(
                Json{{"x", pick.x}, {"y", pick.y}, {"tolerance", pick.tolerance}});
            // Left out when false, so a style without connected picks reads as it always has.
            if (pick.connected) made[kConnectedKey] = true;
        }
        json[kBackgroundKey] = style.background->empty() ? Json(kTransparent) : picks;
    }
    if (style.cutOut) json[kCutOutKey] = true;
    if (style.states) json[kStatesKey] = true;
    return json.dump(2) + "\n";
}

StyleRead ReadStyle(const std::string& path, CFile::Mode mode) {
    std::string text;
    try {
        CFile file(path, mode);
        char buffer[4096];
        // Read no further than ParseStyle takes.
        while (const uint64_t count = file.Read(buffer, sizeof buffer)) {
            text.append(buffer, count);
            if (text.size() > kMaxStyleBytes) break;
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
