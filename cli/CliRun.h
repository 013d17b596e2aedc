#pragma once
// Runs one pelto-cli job: open IN, apply the picks in order, make the button,
// save OUT. Every refusal leaves OUT untouched.

#include "CliOptions.h"

#include <ostream>
#include <string>
#include <vector>

namespace pelto {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // unreadable, refused or unwritable file, or out of memory
constexpr int kExitUsage = 2;   // bad arguments, or a pick outside the picture

// What one picture's run ends with.
struct PictureReport {
    int exitCode = kExitOk;
    std::vector<std::string> messages; // each shown after "pelto-cli: "
    bool aboutInput = false;           // ... and after IN's name
    bool usage = false;                // the usage text follows them
};

// The picture in input made into a button in output, by options' style and
// format, with threads threads (0: one per processor the process may use).
PictureReport RunPicture(const CliOptions& options, const std::string& input,
                         const std::string& output, unsigned threads);

// The single run of options.input into options.output; returns the exit code.
int RunCli(const CliOptions& options, std::ostream& err);

} // namespace pelto
