#include "DocumentFile.h"

#include "DocMessages.h"
#include "InputStream.h"
#include "engine/RunFootprint.h"
#include "platform/Archive.h"
#include "platform/ArchiveException.h"
#include "platform/BmpLayout.h"
#include "platform/MemoryLimit.h"

#include <algorithm>

namespace pelto {

namespace {

// Refuses, before the big allocations, a picture whose open (or whole batch
// run) needs more memory than is left.
void AdmitPicture(const uint8_t* headers, uint64_t fileSize, const std::optional<BatchRun>& batch) {
    if (!batch) {
        memlimit::EnsureAvailable(fileSize);
        return;
    }
    memlimit::EnsureAvailable(EstimateRunFootprint(bmp::ReadI32(headers, bmp::biWidth),
                                                   bmp::ReadI32(headers, bmp::biHeight), fileSize,
                                                   batch->params.width, false, batch->threads)
                                  .Total());
}

void LoadRegularFile(CPeltoDoc& doc, CFile& input, const AdmitHeaders& admit) {
    // A zero-length file is never read: it opens as an empty picture.
    const uint64_t length = input.GetLength();
    if (length == 0) return;
    uint8_t headers[bmp::kHeadersSize];
    const uint64_t headerBytes = std::min<uint64_t>(length, sizeof headers);
    if (input.ReadAt(headers, headerBytes, 0) == headerBytes && !CDIB::Refusal(headers, length))
        admit(headers, length);
    CArchive ar(input, CArchive::load);
    doc.Serialize(ar);
}

void LoadStream(CPeltoDoc& doc, CFile& input, const AdmitHeaders& admit) {
    StreamedInput in = ReadStream(input, admit);
    if (in.size == 0) return;
    if (!in.kept) CDIB::Refuse(CDIB::Refusal(in.data.get(), in.size));
    doc.m_dib.LoadFromBlock(std::move(in.data), in.size);
}

void Store(CPeltoDoc& doc, CFile& file) {
    CArchive ar(file, CArchive::store);
    doc.Serialize(ar);
}

} // namespace

DocOpenResult OpenDocument(const std::string& path) {
    try {
        CFile file(path, CFile::Mode::Read);
        return OpenDocumentFrom(file, path);
    } catch (const CFileException& e) {
        return {nullptr, {docmsg::CannotOpen(path, e.GetError())}};
    }
}

DocOpenResult OpenDocumentFrom(CFile& input, const std::string& name,
                               const std::optional<BatchRun>& batch) {
    DocOpenResult result;
    try {
        auto doc = std::make_unique<CPeltoDoc>(batch ? UndoSnapshot::None : UndoSnapshot::Kept);
        const AdmitHeaders admit = [&](const uint8_t* headers, uint64_t fileSize) {
            AdmitPicture(headers, fileSize, batch);
        };
        if (S_ISREG(input.Status().st_mode))
            LoadRegularFile(*doc, input, admit);
        else
            LoadStream(*doc, input, admit);
        result.doc = std::move(doc);
    } catch (const CArchiveException& e) {
        result.messages = {e.what(), docmsg::Text(docmsg::kUnexpectedFormat)};
    } catch (const CFileException& e) {
        result.messages = {docmsg::CannotOpen(name, e.GetError())};
    } catch (const std::bad_alloc&) {
        result.messages = {docmsg::Text(docmsg::kOutOfMemory)};
    }
    return result;
}

std::string SaveDocument(CPeltoDoc& doc, const std::string& path) {
    const SaveOutcome outcome = SaveFile(path, [&](CFile& file) { Store(doc, file); });
    return outcome.error ? docmsg::CannotSave(path, outcome) : std::string();
}

std::string SaveDocumentTo(CPeltoDoc& doc, CFile& output, const std::string& name) {
    try {
        Store(doc, output);
        output.Close();
    } catch (const CFileException& e) {
        SaveOutcome outcome;
        outcome.error = e.GetError();
        return docmsg::CannotSave(name, outcome);
    }
    return {};
}

} // namespace pelto
