#include "CliRun.h"

#include "docview/DocMessages.h"
#include "docview/DocumentFile.h"

#include <new>

int RunCli(const CliOptions& options, std::ostream& err) {
    DocOpenResult opened = OpenDocument(options.input);
    if (!opened.doc) {
        for (const std::string& message : opened.messages)
            err << "pelto-cli: " << options.input << ": " << message << "\n";
        return kExitFailure;
    }
    CPeltoDoc& doc = *opened.doc;
    if (!doc.m_dib.HasBlock()) {
        err << "pelto-cli: " << options.input << ": the file is empty, there is no picture\n";
        return kExitFailure;
    }

    const int width = doc.m_dib.m_nWidth;
    const int height = doc.m_dib.m_nHeight;
    for (const CliPick& pick : options.picks) {
        if (pick.x < 0 || pick.y < 0 || pick.x >= width || pick.y >= height) {
            err << "pelto-cli: --pick " << pick.x << "," << pick.y << " lies outside the "
                << width << " x " << height << " picture\n";
            return kExitUsage;
        }
        doc.SelectBackground(pick.x, pick.y, pick.tolerance, options.threads);
    }

    try {
        doc.MakeButton(options.params, options.threads);
    } catch (const std::bad_alloc&) {
        err << "pelto-cli: " << docmsg::kOutOfMemory << "\n";
        return kExitFailure;
    }

    if (const std::string error = SaveDocument(doc, options.output); !error.empty()) {
        err << "pelto-cli: " << error << "\n";
        return kExitFailure;
    }
    return kExitOk;
}
