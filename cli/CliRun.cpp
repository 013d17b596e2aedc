#include "CliRun.h"

#include "NameQuoting.h"
#include "document/ButtonSave.h"
#include "document/ButtonSet.h"
#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "document/StyleRun.h"

#include <cerrno>
#include <new>
#include <unistd.h>

namespace pelto {

namespace {

constexpr const char* kStandardStream = "-";

// Nothing when watch's stop ended the wait for a FIFO's writer.
std::optional<DocOpenResult> OpenInput(const std::string& input, const RunWithoutUndo& run,
                                       const PictureWatch& watch) {
    const bool standard = input == kStandardStream;
    const std::string name = standard ? docmsg::Text(docmsg::kStandardInput) : QuotedName(input);
    const auto started = [&] {
        if (watch.started) watch.started();
    };
    try {
        // A FIFO's writer is waited for as cat waits for it: Ctrl+C ends the wait, or a
        // batch's stop does.
        CFile file = standard ? CFile::Duplicate(STDIN_FILENO, name)
                              : CFile(input, CFile::Mode::ReadWaiting, watch.stop);
        started();
        return OpenDocumentFrom(file, name, run);
    } catch (const CFileException& e) {
        if (watch.stop && e.GetError() == EINTR) return std::nullopt;
        started();
        return DocOpenResult{nullptr, {docmsg::CannotOpen(name, e.GetError())}};
    }
}

// The button made and written out, its rows as they are shaded when OUT is a file.
std::string MakeAndSave(CPeltoDoc& doc, const ButtonParams& params, unsigned threads,
                        const std::string& output, std::optional<PictureFormat> format) {
    if (output != kStandardStream)
        return MakeButtonAndSave(doc, params, threads, output,
                                 format.value_or(FormatOfName(output)),
                                 [](const std::string& path) { return QuotedName(path); });
    doc.MakeButton(params, threads);
    const std::string name = docmsg::Text(docmsg::kStandardOutput);
    try {
        CFile out = CFile::Duplicate(STDOUT_FILENO, name);
        return SaveDocumentTo(doc, out, name, format);
    } catch (const CFileException& e) {
        SaveOutcome outcome;
        outcome.error = e.GetError();
        return docmsg::CannotSave(name, outcome);
    }
}

PictureReport Failure(int exitCode, std::string message) {
    return {exitCode, {std::move(message)}};
}

PictureReport MakeButtonFile(const CliOptions& options, const std::string& input,
                             const std::string& output, unsigned threads,
                             const PictureWatch& watch) {
    // No undo, and a picture whose whole run cannot fit is refused before loading.
    std::optional<DocOpenResult> opened = OpenInput(
        input,
        RunWithoutUndo{options.style.params, threads, options.style.cutOut, options.style.states},
        watch);
    if (!opened) return {kExitFailure, {}, false, false, false};
    if (!opened->doc) return {kExitFailure, std::move(opened->messages), true};
    CPeltoDoc& doc = *opened->doc;
    switch (const StyleRunEnd end = PrepareStyle(doc, options.style, threads); end.refusal) {
    case StyleRefusal::EmptyPicture:
        return {kExitFailure, {end.message}, true};
    case StyleRefusal::NoPick:
        return {kExitUsage, {end.message}, false, true};
    case StyleRefusal::PickOutside:
        return Failure(kExitUsage, end.message);
    case StyleRefusal::None:
        break;
    }

    if (options.style.states) {
        const PictureFormat format = options.format.value_or(FormatOfName(output));
        const std::unique_ptr<CButtonSet> set = MakeButtonSet(doc, options.style.params, threads);
        if (std::string error = SaveButtonSet(*set, output, format, QuotedName); !error.empty())
            return Failure(kExitFailure, std::move(error));
        return {};
    }
    if (std::string error = MakeAndSave(doc, options.style.params, threads, output, options.format);
        !error.empty())
        return Failure(kExitFailure, std::move(error));
    return {};
}

} // namespace

// Whatever goes wrong ends with a message and an exit code, never with a signal.
PictureReport RunPicture(const CliOptions& options, const std::string& input,
                         const std::string& output, unsigned threads, const PictureWatch& watch) {
    try {
        return MakeButtonFile(options, input, output, threads, watch);
    } catch (const std::bad_alloc&) {
        return Failure(kExitFailure, docmsg::Text(docmsg::kOutOfMemory));
    } catch (const std::exception& e) {
        return Failure(kExitFailure, e.what());
    }
}

int RunCli(const CliOptions& options, std::ostream& err) {
    const PictureReport report =
        RunPicture(options, options.input, options.output, options.threads);
    for (const std::string& message : report.messages) {
        err << "pelto-cli: ";
        if (report.aboutInput) err << QuotedName(options.input) << ": ";
        err << message << "\n";
    }
    if (report.usage) err << CliUsage();
    return report.exitCode;
}

} // namespace pelto
