#pragma once
// Command-line arguments of pelto-cli, parsed and range-checked.

#include "document/PictureFormat.h"
#include "engine/ButtonParams.h"

#include <optional>
#include <string>
#include <vector>

namespace pelto {

struct CliPick {
    int x = 0;         // column from the left
    int y = 0;         // row from the top, as seen on screen
    int tolerance = 0; // percent
};

struct CliOptions {
    std::string input;
    std::string output;
    std::vector<CliPick> picks;
    ButtonParams params;  // the view's defaults unless given
    unsigned threads = 0; // 0: one per processor the process may use
    // The kind of OUT; by default from its name, or IN's kind for standard output.
    std::optional<PictureFormat> format;
    bool help = false;
};

// Either the options or a message saying what is wrong with the arguments.
struct CliParse {
    std::optional<CliOptions> options;
    std::string error;
};

CliParse ParseCliArguments(const std::vector<std::string>& args);

extern const char* const kCliUsage;

} // namespace pelto
