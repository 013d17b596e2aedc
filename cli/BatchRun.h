#pragma once
// A pelto-cli --out-dir run: its plan is checked first (a usage error, exit
// 2, before any work), then its pictures run side by side, each written
// exactly as a single run would write it, with progress and a summary on
// err. Returns the exit code: 1 when any picture failed, 128 + the signal
// when SIGINT or SIGTERM stopped it.

#include "CliOptions.h"

#include <ostream>

namespace pelto {

int RunBatch(const CliOptions& options, std::ostream& err);

} // namespace pelto
