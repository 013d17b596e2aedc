#pragma once
// Runs one pelto-cli job: open IN, apply the picks in order, make the button,
// save OUT. Every refusal leaves OUT untouched.

#include "CliOptions.h"

#include <functional>
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
    bool started = true;               // false when stop ended the wait for the input
};

// A batch's hold on one picture's run. A FIFO waits for its writer until stop
// says to stop; without stop, for as long as it takes. started is told when
// the input has opened, or failed to, before anything is done with it.
struct PictureWatch {
    std::function<bool()> stop;
    std::function<void()> started;
};

// The picture in input made into a button in output, by options' style and
// format, with threads threads (0: one per processor the process may use).
PictureReport RunPicture(const CliOptions& options, const std::string& input,
                         const std::string& output, unsigned threads,
                         const PictureWatch& watch = {});

// The single run of options.input into options.output; returns the exit code.
int RunCli(const CliOptions& options, std::ostream& err);

} // namespace pelto
