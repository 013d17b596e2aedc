#include "CliOptions.h"

#include "engine/ParallelRows.h"
#include "platform/TextFields.h"

namespace pelto {

const char* const kCliUsage =
    "Usage: pelto-cli IN OUT [--pick X,Y,TOL ...] [options]\n"
    "Turns the shape in a picture (a 24-bit BMP or a PNG) into a bevelled button and\n"
    "writes it to OUT.\n"
    "  --pick X,Y,TOL    select as background every pixel within TOL percent (0..100) of the\n"
    "                    colour at column X, row Y counted from the top-left corner;\n"
    "                    repeat to add more colours to the selection (at least one,\n"
    "                    unless IN has transparency: its transparent pixels are selected)\n"
    "  --angle A         direction the light comes from, degrees 0..359\n"
    "                    (0 left, 90 above, 180 right, 270 below; default 0)\n"
    "  --contrast C      strength of the shading, 0..500 (default 128)\n"
    "  --width W         width of the bevel band in pixels, 0..30 (default 5)\n"
    "  --shape cut|round  bevel profile (default cut)\n"
    "  --outline inner|outer  band inside the shape or in the background around it\n"
    "                    (default inner)\n"
    "  --threads N       threads to pick and make the button with, 1..256 (default one\n"
    "                    per processor the process may use); the result is the same\n"
    "                    for any count\n"
    "  --format png|bmp  the kind of OUT (default: PNG for a name ending in .png, in any\n"
    "                    case, BMP for any other; IN's kind for standard output)\n"
    "  --help            show this text\n"
    "  --version         show the program's name and version\n"
    "IN's kind comes from its content. IN or OUT may be - for standard input or output;\n"
    "-- ends the options. OUT is written only when everything succeeded; it is never left\n"
    "half written.\n";

namespace {

bool ParseInt(const std::string& text, int& value) {
    const std::optional<int> number = text::WholeNumber<int>(text);
    if (number) value = *number;
    return number.has_value();
}

std::string ParseRanged(const std::string& name, const std::string& text, int low, int high,
                        int32_t& out) {
    int value = 0;
    if (!ParseInt(text, value)) return name + " needs a whole number, got '" + text + "'";
    if (value < low || value > high)
        return name + " must be from " + std::to_string(low) + " to " + std::to_string(high) +
               ", got " + text;
    out = value;
    return {};
}

std::string ParsePick(const std::string& text, CliPick& pick) {
    const size_t first = text.find(',');
    const size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos)
        return "--pick needs X,Y,TOL, got '" + text + "'";
    int32_t tolerance = 0;
    if (!ParseInt(text.substr(0, first), pick.x) ||
        !ParseInt(text.substr(first + 1, second - first - 1), pick.y))
        return "--pick needs whole numbers X,Y,TOL, got '" + text + "'";
    std::string error = ParseRanged("--pick tolerance", text.substr(second + 1), 0, 100, tolerance);
    pick.tolerance = tolerance;
    return error;
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

// One option of the table: its name and where its value goes.
struct CliOption {
    const char* name;
    std::string (*take)(const std::string& value, CliOptions& options);
};

constexpr CliOption kOptions[] = {
    {"--pick",
     [](const std::string& v, CliOptions& o) {
         CliPick pick;
         std::string error = ParsePick(v, pick);
         if (error.empty()) o.picks.push_back(pick);
         return error;
     }},
    {"--angle",
     [](const std::string& v, CliOptions& o) {
         return ParseRanged("--angle", v, 0, ButtonParams::kMaxAngle, o.params.angle);
     }},
    {"--contrast",
     [](const std::string& v, CliOptions& o) {
         return ParseRanged("--contrast", v, 0, ButtonParams::kMaxContrast, o.params.contrast);
     }},
    {"--width",
     [](const std::string& v, CliOptions& o) {
         return ParseRanged("--width", v, 0, ButtonParams::kMaxWidth, o.params.width);
     }},
    {"--shape",
     [](const std::string& v, CliOptions& o) {
         return ParseChoice("--shape", v, "cut", "round", o.params.shape);
     }},
    {"--outline",
     [](const std::string& v, CliOptions& o) {
         return ParseChoice("--outline", v, "inner", "outer", o.params.outline);
     }},
    {"--format",
     [](const std::string& v, CliOptions& o) {
         int32_t png = 0;
         std::string error = ParseChoice("--format", v, "bmp", "png", png);
         o.format = png ? PictureFormat::Png : PictureFormat::Bmp;
         return error;
     }},
    {"--threads",
     [](const std::string& v, CliOptions& o) {
         int32_t threads = 0;
         std::string error = ParseRanged("--threads", v, 1, int(kMaxThreads), threads);
         o.threads = static_cast<unsigned>(threads);
         return error;
     }},
};

const CliOption* FindOption(const std::string& name) {
    for (const CliOption& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

} // namespace

// "-" alone is a file (standard input or output); "--" ends the options.
CliParse ParseCliArguments(const std::vector<std::string>& args) {
    CliOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !(arg.starts_with("--") || arg == "-h")) {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
            return {options, {}};
        } else {
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            const CliOption* option = FindOption(name);
            if (!option) return {std::nullopt, "unknown option '" + name + "'"};
            if (equals == std::string::npos && i + 1 >= args.size())
                return {std::nullopt, name + " needs a value"};
            const std::string value =
                equals != std::string::npos ? arg.substr(equals + 1) : args[++i];
            if (std::string error = option->take(value, options); !error.empty())
                return {std::nullopt, error};
        }
    }
    if (positional.size() != 2)
        return {std::nullopt,
                "expected IN and OUT, got " + std::to_string(positional.size()) + " file names"};
    options.input = positional[0];
    options.output = positional[1];
    return {options, {}};
}

} // namespace pelto
