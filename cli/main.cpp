#include "BatchRun.h"
#include "CliOptions.h"
#include "CliRun.h"
#include "StyleOptions.h"
#include "document/DocMessages.h"

#include <iostream>
#include <new>

int main(int argc, char** argv) {
    using namespace pelto;
    const CliParse parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "pelto-cli: " << parsed.error << "\n" << kCliUsage;
        return kExitUsage;
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::cout << kCliUsage;
        return kExitOk;
    }
    // Whatever goes wrong ends with a message and an exit code, never with a signal.
    try {
        if (!options.saveStyle.empty()) return SaveStyle(options, std::cerr);
        if (!options.outDir.empty()) return RunBatch(options, std::cerr);
        return RunCli(options, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "pelto-cli: " << docmsg::Text(docmsg::kOutOfMemory) << "\n";
    } catch (const std::exception& e) {
        std::cerr << "pelto-cli: " << e.what() << "\n";
    }
    return kExitFailure;
}
