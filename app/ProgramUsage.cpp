#include "ProgramUsage.h"

namespace pelto {

const char* const kProgramUsage =
    "Usage: PeltoTool [FILE...]\n"
    "  or:  PeltoTool /p FILE\n"
    "  or:  PeltoTool /pt FILE PRINTER DRIVER PORT\n"
    "Opens each FILE (a 24-bit BMP or a PNG) in a window of its own in Pelto Tool,\n"
    "which turns a flat picture into a bevelled, raised-looking button; without FILE\n"
    "the window opens empty. A FILE that cannot be opened is reported, the others\n"
    "open all the same; when none of them opens, the program exits with 1.\n"
    "\n"
    "  -p, /p FILE       print FILE on the default printer, without showing the\n"
    "                    window, and exit\n"
    "  -pt, /pt FILE PRINTER DRIVER PORT\n"
    "                    print FILE on the CUPS queue PRINTER, without showing the\n"
    "                    window, and exit; DRIVER and PORT are accepted and not used\n"
    "  --help            show this text and exit\n"
    "  --version         show the program's name and version and exit\n"
    "\n"
    "Printing needs no display. It exits with 0 once the scheduler has taken the\n"
    "job, or with 1 and the reason on standard error.\n";

std::optional<std::string> ProgramAnswer(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") return kProgramUsage;
        if (argument == "--version") return "PeltoTool " PELTO_VERSION "\n";
    }
    return std::nullopt;
}

} // namespace pelto
