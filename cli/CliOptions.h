#pragma once
// Command-line arguments of pelto-cli, parsed and range-checked.

#include "document/ButtonStyle.h"
#include "document/PictureFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace pelto {

struct CliOptions {
    // A single run: one picture from input to output.
    std::string input;
    std::string output;
    // A batch run (outDir set): every one of inputs into outDir under its own name.
    std::string outDir;
    std::vector<std::string> inputs;
    // Neither: the style is written to saveStyle.
    std::string saveStyle;
    ButtonStyle style;    // the view's defaults unless given
    unsigned threads = 0; // 0: one per processor the process may use
    // The kind of OUT; by default from its name, or IN's kind for standard output.
    std::optional<PictureFormat> format;
    bool quiet = false;   // no progress in a batch
    bool english = false; // the messages of files and pictures in English (--lang en)
    bool help = false;
};

// Either the options or a message saying what is wrong with the arguments.
struct CliParse {
    std::optional<CliOptions> options;
    std::string error;
};

// Reads the style files it names (--style) as it comes to them.
CliParse ParseCliArguments(const std::vector<std::string>& args);

// What --help shows.
const std::string& CliUsage();

} // namespace pelto
