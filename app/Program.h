#pragma once
// The whole program, from the toolkit's start to the end of its event loop:
// what main() runs. `started`, when given, runs once the program is up and
// before the event loop; the program's exit code is returned.

#include <functional>

namespace pelto {

class CPeltoApp;

int RunProgram(int argc, char** argv, const std::function<void(CPeltoApp&)>& started = {});

} // namespace pelto
