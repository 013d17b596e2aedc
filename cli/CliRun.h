#pragma once
// Runs one pelto-cli job: open IN, apply the picks in order, make the button,
// save OUT. Returns the process exit code; every refusal is written to err
// and leaves OUT untouched.

#include "CliOptions.h"

#include <ostream>

namespace pelto {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // unreadable, refused or unwritable file, or out of memory
constexpr int kExitUsage = 2;   // bad arguments, or a pick outside the picture

int RunCli(const CliOptions& options, std::ostream& err);

} // namespace pelto
