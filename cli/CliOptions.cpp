#include "CliOptions.h"

#include "StyleOptions.h"
#include "engine/ParallelRows.h"
#include "system/TextFields.h"

#include <functional>

namespace pelto {

namespace {

// The usage text; each {name} stands for a range, a starting value or the
// choices, as defined with the values.
constexpr const char* kUsage =
    "Usage: pelto-cli IN OUT [--pick X,Y,TOL ...] [options]\n"
    "  or:  pelto-cli --out-dir DIR [--pick X,Y,TOL ...] [options] IN...\n"
    "  or:  pelto-cli --save-style FILE [--pick X,Y,TOL ...] [options]\n"
    "Turns the shape in a picture (a 24-bit BMP or a PNG) into a bevelled button and\n"
    "writes it to OUT; with --out-dir, the button of each IN into DIR.\n"
    "  --pick X,Y,TOL[,connected]  select as background every pixel within TOL percent\n"
    "                    ({tolerance}) of the colour at column X, row Y counted from the\n"
    "                    top-left corner; with connected, only those joined to it side\n"
    "                    by side through such pixels; on a picture with transparency a\n"
    "                    transparent pixel picks the transparent ones, a visible one the\n"
    "                    visible ones; repeat to add more colours to the selection (at\n"
    "                    least one, unless IN has transparency: its transparent pixels\n"
    "                    are selected)\n"
    "  --transparent     the background is IN's transparent pixels alone, without the\n"
    "                    picks given before\n"
    "  --cut-out         make the background transparent, each pick's colour taken\n"
    "                    off the shape's anti-aliased edge, before the button is made\n"
    "  --states          write the button's hover, pressed and disabled looks beside\n"
    "                    OUT too (OUT's name with -hover, -pressed, -disabled), all four\n"
    "                    stacked in a sprite (-sprite) and the CSS that shows them (.css)\n"
    "  --angle A         direction the light comes from, degrees {angle}\n"
    "                    (0 left, 90 above, 180 right, 270 below; default {angle default})\n"
    "  --contrast C      strength of the shading, {contrast} (default {contrast default})\n"
    "  --width W         width of the bevel band in pixels, {width} (default {width default})\n"
    "  --shape {shape}  bevel profile (default {shape default})\n"
    "  --outline {outline}  band inside the shape or in the background around it\n"
    "                    (default {outline default})\n"
    "  --style FILE      take the five values above, the background when FILE holds\n"
    "                    one, and its cut_out and states, from a style file: they\n"
    "                    replace what the options before --style gave, and the options\n"
    "                    after it replace them (the first --pick after it starts the\n"
    "                    picks afresh)\n"
    "  --save-style FILE  write the style the options give (the five values, and the\n"
    "                    picks or --transparent, --cut-out and --states when given) to\n"
    "                    FILE and do nothing else: no IN or OUT\n"
    "  --out-dir DIR     make the button of every IN into the folder DIR under IN's own\n"
    "                    name (so of its kind, unless --format says), several pictures\n"
    "                    at once; one that fails is reported and the others go on; the\n"
    "                    run ends with a summary, exit 1 when any failed. Ctrl+C or\n"
    "                    SIGTERM stops it after the pictures in flight (exit 130 or\n"
    "                    143), a second one at once\n"
    "  --quiet           no progress in an --out-dir run (failures and the summary show)\n"
    "  --threads N       threads to pick and make the button with, 1..256 (default one\n"
    "                    per processor the process may use); with --out-dir, 2 x N\n"
    "                    pictures at once with a thread each (fewer pictures share N\n"
    "                    threads); the result is the same for any count\n"
    "  --format png|bmp  the kind of OUT (default: PNG for a name ending in .png, in any\n"
    "                    case, BMP for any other; IN's kind for standard output)\n"
    "  --lang ja|en      the language of the messages about files, pictures and styles\n"
    "                    (default ja, Japanese; en, English)\n"
    "  --help            show this text\n"
    "  --version         show the program's name and version\n"
    "IN's kind comes from its content. IN or OUT may be - for standard input or output;\n"
    "-- ends the options. OUT is written only when everything succeeded; it is never left\n"
    "half written.\n";

std::string MakeUsage() {
    const auto range = [](const ValueRange& r) {
        return std::to_string(r.low) + ".." + std::to_string(r.high);
    };
    std::vector<std::pair<std::string, std::string>> fields = {
        {"tolerance", range(kToleranceRange)}};
    for (const StyleNumber& number : kStyleNumbers) {
        fields.push_back({number.name, range(number.range)});
        fields.push_back(
            {std::string(number.name) + " default", std::to_string(number.range.initial)});
    }
    const ButtonParams initial;
    for (const StyleChoice& choice : kStyleChoices) {
        fields.push_back({choice.name, std::string(choice.choices[0]) + "|" + choice.choices[1]});
        fields.push_back(
            {std::string(choice.name) + " default", choice.choices[choice.get(initial) != 0]});
    }
    std::string text = kUsage;
    for (const auto& [name, value] : fields) {
        const std::string marker = "{" + name + "}";
        for (size_t at; (at = text.find(marker)) != std::string::npos;)
            text.replace(at, marker.size(), value);
    }
    return text;
}

// The word that makes a --pick a connected one.
constexpr const char* kPickConnected = "connected";

bool ParseInt(const std::string& text, int& value) {
    const std::optional<int> number = text::WholeNumber<int>(text);
    if (number) value = *number;
    return number.has_value();
}

std::string ParseRanged(const std::string& name, const std::string& text, int low, int high,
                        int32_t& out) {
    // However many digits it has, a whole number is in the range or out of it.
    const std::optional<int> number = text::WholeNumberHeldInRange<int>(text);
    if (!number) return name + " needs a whole number, got '" + text + "'";
    const int value = *number;
    if (value < low || value > high)
        return name + " must be from " + std::to_string(low) + " to " + std::to_string(high) +
               ", got " + text;
    out = value;
    return {};
}

// X,Y,TOL, then optionally ",connected".
std::string ParsePick(const std::string& text, BackgroundPick& pick) {
    std::vector<std::string> fields(1);
    for (char c : text)
        if (c == ',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    if (fields.size() != 3 && fields.size() != 4)
        return "--pick needs X,Y,TOL or X,Y,TOL,connected, got '" + text + "'";
    if (!ParseInt(fields[0], pick.x) || !ParseInt(fields[1], pick.y))
        return "--pick needs whole numbers X,Y,TOL, got '" + text + "'";
    if (fields.size() == 4 && fields[3] != kPickConnected)
        return "--pick's fourth field can only be '" + std::string(kPickConnected) + "', got '" +
               fields[3] + "'";
    pick.connected = fields.size() == 4;
    return ParseRanged("--pick tolerance", fields[2], kToleranceRange.low, kToleranceRange.high,
                       pick.tolerance);
}

std::string ParseChoice(const std::string& name, const std::string& text, const char* zero,
                        const char* one, int32_t& out) {
    if (text == zero)
        out = 0;
    else if (text == one)
        out = 1;
    else
        return name + " must be " + zero + " or " + one + ", got '" + text + "'";
    return {};
}

// What the parse builds as it goes.
struct CliParseState {
    CliOptions options;
    CStyleBuilder style;
};

// One option of the table: its name, whether a value follows, and where it goes.
struct CliOption {
    std::string name;
    bool takesValue;
    std::function<std::string(const std::string& value, CliParseState& state)> take;
};

std::vector<CliOption> MakeOptions() {
    std::vector<CliOption> options = {
        {"--pick", true,
         [](const std::string& v, CliParseState& s) {
             BackgroundPick pick;
             std::string error = ParsePick(v, pick);
             if (error.empty()) s.style.AddPick(pick);
             return error;
         }},
        {"--transparent", false,
         [](const std::string&, CliParseState& s) {
             s.style.TakeTransparent();
             return std::string();
         }},
        {"--cut-out", false,
         [](const std::string&, CliParseState& s) {
             s.style.TakeCutOut();
             return std::string();
         }},
        {"--states", false,
         [](const std::string&, CliParseState& s) {
             s.style.TakeStates();
             return std::string();
         }},
        {"--style", true,
         [](const std::string& v, CliParseState& s) { return s.style.TakeFile(v); }},
        {"--save-style", true,
         [](const std::string& v, CliParseState& s) {
             s.options.saveStyle = v;
             return v.empty() ? std::string("--save-style needs a file name") : std::string();
         }},
        {"--out-dir", true,
         [](const std::string& v, CliParseState& s) {
             s.options.outDir = v;
             return v.empty() ? std::string("--out-dir needs a folder") : std::string();
         }},
        {"--quiet", false,
         [](const std::string&, CliParseState& s) {
             s.options.quiet = true;
             return std::string();
         }},
        {"--format", true,
         [](const std::string& v, CliParseState& s) {
             int32_t png = 0;
             std::string error = ParseChoice("--format", v, "bmp", "png", png);
             s.options.format = png ? PictureFormat::Png : PictureFormat::Bmp;
             return error;
         }},
        {"--lang", true,
         [](const std::string& v, CliParseState& s) {
             int32_t english = 0;
             std::string error = ParseChoice("--lang", v, "ja", "en", english);
             s.options.english = english != 0;
             return error;
         }},
        {"--threads", true,
         [](const std::string& v, CliParseState& s) {
             int32_t threads = 0;
             std::string error = ParseRanged("--threads", v, 1, int(kMaxThreads), threads);
             s.options.threads = static_cast<unsigned>(threads);
             return error;
         }},
    };
    // The button values go by the names their style file gives them.
    for (const StyleNumber& number : kStyleNumbers) {
        const std::string name = std::string("--") + number.name;
        options.push_back({name, true, [name, &number](const std::string& v, CliParseState& s) {
                               return ParseRanged(name, v, number.range.low, number.range.high,
                                                  s.style.Params().*number.value);
                           }});
    }
    for (const StyleChoice& choice : kStyleChoices) {
        const std::string name = std::string("--") + choice.name;
        options.push_back({name, true, [name, &choice](const std::string& v, CliParseState& s) {
                               int32_t value = 0;
                               std::string error = ParseChoice(name, v, choice.choices[0],
                                                               choice.choices[1], value);
                               if (error.empty()) choice.set(s.style.Params(), value);
                               return error;
                           }});
    }
    return options;
}

const CliOption* FindOption(const std::string& name) {
    static const std::vector<CliOption> options = MakeOptions();
    for (const CliOption& option : options)
        if (name == option.name) return &option;
    return nullptr;
}

// The file names' roles, by what the options asked for.
std::string PlaceFiles(std::vector<std::string> files, CliOptions& options) {
    if (!options.saveStyle.empty()) {
        if (!files.empty() || !options.outDir.empty())
            return "--save-style only writes the style: it takes no IN, OUT or --out-dir";
        return {};
    }
    if (!options.outDir.empty()) {
        if (files.empty()) return "--out-dir needs at least one IN";
        for (const std::string& file : files)
            if (file == "-") return "--out-dir takes no standard input (-) as an IN";
        options.inputs = std::move(files);
        return {};
    }
    if (files.size() != 2)
        return "expected IN and OUT, got " + std::to_string(files.size()) + " file names";
    options.input = files[0];
    options.output = files[1];
    if (options.style.states && options.output == "-")
        return "--states writes files beside OUT: OUT must be a file, not standard output (-)";
    return {};
}

} // namespace

const std::string& CliUsage() {
    static const std::string usage = MakeUsage();
    return usage;
}

// "-" alone is a file (standard input or output); "--" ends the options.
CliParse ParseCliArguments(const std::vector<std::string>& args) {
    CliParseState state;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !(arg.starts_with("--") || arg == "-h")) {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            state.options.help = true;
            return {state.options, {}};
        } else {
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            const CliOption* option = FindOption(name);
            if (!option) return {std::nullopt, "unknown option '" + name + "'"};
            if (!option->takesValue && equals != std::string::npos)
                return {std::nullopt, name + " takes no value"};
            if (option->takesValue && equals == std::string::npos && i + 1 >= args.size())
                return {std::nullopt, name + " needs a value"};
            const std::string value = !option->takesValue           ? std::string()
                                      : equals != std::string::npos ? arg.substr(equals + 1)
                                                                    : args[++i];
            if (std::string error = option->take(value, state); !error.empty())
                return {std::nullopt, error};
        }
    }
    state.options.style = state.style.Style();
    if (std::string error = PlaceFiles(std::move(positional), state.options); !error.empty())
        return {std::nullopt, error};
    return {state.options, {}};
}

} // namespace pelto
