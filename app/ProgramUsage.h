#pragma once
// What the program prints instead of starting, when asked for its usage or its
// version: neither needs a window, so neither needs a display.

#include <optional>
#include <string>
#include <vector>

namespace pelto {

extern const char* const kProgramUsage;

// arguments: without the program's own name. "--help" (or "-h") gives the
// usage, "--version" the name and version; the first of them wins. Nothing:
// the program starts as usual.
std::optional<std::string> ProgramAnswer(const std::vector<std::string>& arguments);

} // namespace pelto
