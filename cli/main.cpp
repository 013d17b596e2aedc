#include "BatchRun.h"
#include "CliOptions.h"
#include "CliRun.h"
#include "EnglishTexts.h"
#include "StyleOptions.h"
#include "document/DocMessages.h"
#include "system/MemoryLimit.h"

#include <algorithm>
#include <iostream>
#include <new>

namespace {

// Answered before the arguments are checked, whatever else they hold.
bool AsksForVersion(const std::vector<std::string>& args) {
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), optionsEnd, "--version") != optionsEnd;
}

// Taken before the arguments are checked too: a style file named among them
// is read, and refused, in the language asked for.
bool AsksForEnglish(const std::vector<std::string>& args) {
    bool english = false;
    for (size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--lang=en" || args[i] == "--lang=ja") english = args[i] == "--lang=en";
        if (args[i] == "--lang" && i + 1 < args.size()) english = args[++i] == "en";
    }
    return english;
}

} // namespace

int main(int argc, char** argv) {
    using namespace pelto;
    const std::vector<std::string> args(argv + 1, argv + argc);
    memlimit::ShareOneHeapUnderLimits();
    if (AsksForVersion(args)) {
        std::cout << "pelto-cli " PELTO_VERSION "\n";
        return kExitOk;
    }
    if (AsksForEnglish(args)) translation::Install(&EnglishText);
    const CliParse parsed = ParseCliArguments(args);
    if (!parsed.options) {
        std::cerr << "pelto-cli: " << parsed.error << "\n" << CliUsage();
        return kExitUsage;
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::cout << CliUsage();
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
