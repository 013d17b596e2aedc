#include "CliRun.h"

#include "document/DocMessages.h"
#include "document/DocumentFile.h"

#include <new>
#include <unistd.h>

namespace pelto {

namespace {

constexpr const char* kStandardStream = "-";

DocOpenResult OpenInput(const CliOptions& options) {
    // No undo in a batch run, and a picture whose run cannot fit is refused before loading.
    const BatchRun batch{options.params, options.threads};
    const bool standard = options.input == kStandardStream;
    const std::string name = standard ? docmsg::Text(docmsg::kStandardInput) : options.input;
    try {
        // A FIFO's writer is waited for as cat waits for it: the user can press Ctrl+C.
        CFile input = standard ? CFile::Duplicate(STDIN_FILENO, name)
                               : CFile(options.input, CFile::Mode::ReadWaiting);
        return OpenDocumentFrom(input, name, batch);
    } catch (const CFileException& e) {
        return {nullptr, {docmsg::CannotOpen(name, e.GetError())}};
    }
}

std::string SaveOutput(CPeltoDoc& doc, const CliOptions& options) {
    const std::string& output = options.output;
    if (output != kStandardStream)
        return SaveDocument(doc, output, options.format.value_or(FormatOfName(output)));
    const std::string name = docmsg::Text(docmsg::kStandardOutput);
    try {
        CFile out = CFile::Duplicate(STDOUT_FILENO, name);
        return SaveDocumentTo(doc, out, name, options.format);
    } catch (const CFileException& e) {
        SaveOutcome outcome;
        outcome.error = e.GetError();
        return docmsg::CannotSave(name, outcome);
    }
}

} // namespace

int RunCli(const CliOptions& options, std::ostream& err) {
    DocOpenResult opened = OpenInput(options);
    if (!opened.doc) {
        for (const std::string& message : opened.messages)
            err << "pelto-cli: " << options.input << ": " << message << "\n";
        return kExitFailure;
    }
    CPeltoDoc& doc = *opened.doc;
    if (!doc.m_dib.HasBlock()) {
        err << "pelto-cli: " << options.input << ": " << docmsg::Text(docmsg::kEmptyPicture)
            << "\n";
        return kExitFailure;
    }

    // A picture with transparency comes with its selection.
    if (options.picks.empty() && !doc.HasSelection()) {
        err << "pelto-cli: at least one --pick X,Y,TOL is needed\n" << kCliUsage;
        return kExitUsage;
    }

    const int width = doc.m_dib.m_nWidth;
    const int height = doc.m_dib.m_nHeight;
    try {
        for (const CliPick& pick : options.picks) {
            if (pick.x < 0 || pick.y < 0 || pick.x >= width || pick.y >= height) {
                err << "pelto-cli: --pick " << pick.x << "," << pick.y << " lies outside the "
                    << width << " x " << height << " picture\n";
                return kExitUsage;
            }
            doc.SelectBackground(pick.x, pick.y, pick.tolerance, options.threads);
        }
        doc.MakeButton(options.params, options.threads);
    } catch (const std::bad_alloc&) {
        err << "pelto-cli: " << docmsg::Text(docmsg::kOutOfMemory) << "\n";
        return kExitFailure;
    }

    if (const std::string error = SaveOutput(doc, options); !error.empty()) {
        err << "pelto-cli: " << error << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace pelto
