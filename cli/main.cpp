#include "CliOptions.h"
#include "CliRun.h"

#include <iostream>

int main(int argc, char** argv) {
    const CliParse parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "pelto-cli: " << parsed.error << "\n" << kCliUsage;
        return kExitUsage;
    }
    if (parsed.options->help) {
        std::cout << kCliUsage;
        return kExitOk;
    }
    return RunCli(*parsed.options, std::cerr);
}
