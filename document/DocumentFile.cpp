#include "DocumentFile.h"

#include "DocMessages.h"
#include "InputStream.h"
#include "engine/RunFootprint.h"
#include "image/PngFile.h"
#include "platform/Archive.h"
#include "platform/ArchiveException.h"
#include "platform/BmpLayout.h"
#include "system/MemoryLimit.h"

#include <algorithm>

namespace pelto {

namespace {

// The peak of a run without undo on a picture of picture bytes (its opacity among
// them when it has one): a cut-out gives it an opacity with soft edges.
uint64_t RunNeed(int32_t width, int32_t height, uint64_t picture, bool opacity, bool softEdged,
                 const RunWithoutUndo& run) {
    const uint64_t pixels = uint64_t(std::max(width, 0)) * uint64_t(std::max(height, 0));
    uint64_t cutOut = 0;
    if (run.cutOut) {
        cutOut = picture + EstimateRunFootprint(width, height, picture, 0, false, 0).mask +
                 CPeltoDoc::CutOutBytes(width, height);
        picture += opacity ? 0 : pixels;
        softEdged = true;
    }
    const bool softRim = run.params.Outer() && softEdged;
    const RunFootprint footprint =
        EstimateRunFootprint(width, height, picture, run.params.width, false, run.threads, softRim);
    // The four states and the sprite of four, beside the preview's copies of
    // the picture and its selection.
    const uint64_t states = run.states ? 9 * picture + footprint.mask : 0;
    return std::max(cutOut, footprint.Total() + states);
}

// A PNG's bytes stay while it is decoded and its fully transparent pixels
// are selected; a run without undo then holds the picture with its opacity, the
// mask, the heights, the search and a soft edge's rim marks. Whether it has
// an opacity comes from a tRNS among the first bytes' chunks, when they reach
// the image data.
uint64_t PngNeed(const uint8_t* start, uint64_t startBytes, uint64_t fileSize,
                 const std::optional<RunWithoutUndo>& run) {
    const png::Header header = png::ReadHeader(start, startBytes);
    const std::optional<bool> ahead = png::TransparencyChunkAhead(start, startBytes);
    const bool trns = ahead.value_or(true);
    // Without a tRNS an 8-bit picture may take the whole read, which holds more.
    uint64_t decode = png::DecodeFootprint(header, fileSize, trns);
    if (!ahead) decode = std::max(decode, png::DecodeFootprint(header, fileSize, false));
    const int32_t width = int32_t(header.width), height = int32_t(header.height);
    const bool opacity = png::HasOpacity(header, trns);
    const uint64_t picture =
        CDIB::BuiltFileSize(width, height) + (opacity ? uint64_t(width) * height : 0);
    const uint64_t selection =
        opacity ? EstimateRunFootprint(width, height, picture, 0, false, 0).mask : 0;
    const uint64_t open = fileSize + std::max(decode, picture + selection);
    if (!run) return open;
    return std::max(
        open, RunNeed(width, height, picture, opacity, png::MayBeSoftEdged(header, trns), *run));
}

// The memory the open (or the whole run) of a picture needs, from its
// file's first bytes; a BMP's are its 54 header bytes.
uint64_t PictureNeed(const uint8_t* start, uint64_t startBytes, uint64_t fileSize,
                     const std::optional<RunWithoutUndo>& run) {
    if (png::HasSignature(start, startBytes)) return PngNeed(start, startBytes, fileSize, run);
    if (!run) return fileSize;
    return RunNeed(bmp::ReadI32(start, bmp::biWidth), bmp::ReadI32(start, bmp::biHeight), fileSize,
                   false, false, *run);
}

// A regular file's first bytes (a PNG's first kPngStartBytes), and whether
// they tell what it needs: a PNG's signature, or BMP headers the loader takes
// for a file of its length.
struct FileStart {
    std::vector<uint8_t> bytes;
    bool png;
    bool measurable;
};

FileStart ReadStart(CFile& input, uint64_t length) {
    FileStart start;
    start.bytes.resize(std::min<uint64_t>(length, bmp::kHeadersSize));
    bool complete = input.ReadAt(start.bytes.data(), start.bytes.size(), 0) == start.bytes.size();
    start.png = complete && png::HasSignature(start.bytes.data(), start.bytes.size());
    if (start.png) {
        start.bytes.resize(std::min(length, kPngStartBytes));
        complete = input.ReadAt(start.bytes.data(), start.bytes.size(), 0) == start.bytes.size();
    }
    start.measurable = complete && (start.png || (start.bytes.size() == bmp::kHeadersSize &&
                                                  !CDIB::Refusal(start.bytes.data(), length)));
    return start;
}

void LoadRegularFile(CPeltoDoc& doc, CFile& input, const AdmitHeaders& admit) {
    // A zero-length file is never read: it opens as an empty picture.
    const uint64_t length = input.GetLength();
    if (length == 0) return;
    const FileStart start = ReadStart(input, length);
    if (start.measurable) admit(start.bytes.data(), start.bytes.size(), length);
    if (start.png) {
        if (length > CDIB::kMaxFileSize) CDIB::Refuse(png::kMsgTooLarge);
        const block::Ptr bytes = block::Allocate(length);
        if (input.ReadAt(bytes.get(), length, 0) != length) CDIB::Refuse(png::kMsgDamaged);
        doc.LoadPng(bytes.get(), length);
        return;
    }
    CArchive ar(input, CArchive::load);
    doc.Serialize(ar);
}

void LoadStream(CPeltoDoc& doc, CFile& input, const AdmitHeaders& admit) {
    StreamedInput in = ReadStream(input, admit);
    if (in.size == 0) return;
    if (png::HasSignature(in.data.get(), in.size)) {
        doc.LoadPng(in.data.get(), in.size);
        return;
    }
    if (!in.kept) CDIB::Refuse(CDIB::Refusal(in.data.get(), in.size));
    doc.LoadBmp(std::move(in.data), in.size);
}

} // namespace

DocOpenResult OpenDocument(const std::string& path, CFile::Mode mode) {
    try {
        CFile file(path, mode);
        return OpenDocumentFrom(file, path);
    } catch (const CFileException& e) {
        return {nullptr, {docmsg::CannotOpen(path, e.GetError())}};
    }
}

DocOpenResult OpenDocumentFrom(CFile& input, const std::string& name,
                               const std::optional<RunWithoutUndo>& run) {
    DocOpenResult result;
    try {
        auto doc = std::make_unique<CPeltoDoc>(run ? UndoSnapshot::None : UndoSnapshot::Kept);
        // Refuses, before the big allocations, a picture whose open (or
        // whole run) needs more memory than is left.
        const AdmitHeaders admit = [&](const uint8_t* start, uint64_t startBytes,
                                       uint64_t fileSize) {
            memlimit::EnsureAvailable(PictureNeed(start, startBytes, fileSize, run));
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
        result.outOfMemory = true;
    }
    return result;
}

uint64_t WholeRunFootprint(const std::string& path, const RunWithoutUndo& run) {
    // A FIFO is not even opened: its waiting writer would write to a reader
    // about to leave, and die of it before the picture's run opens it.
    if (struct stat st{}; ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    try {
        CFile input(path, CFile::Mode::Read);
        const uint64_t length = input.GetLength();
        if (length == 0) return 0;
        const FileStart start = ReadStart(input, length);
        if (start.measurable)
            return PictureNeed(start.bytes.data(), start.bytes.size(), length, run);
    } catch (const CFileException&) {
    } catch (const CArchiveException&) {
    }
    return 0;
}

std::string SaveDocument(CPeltoDoc& doc, const std::string& path,
                         std::optional<PictureFormat> format, const ShowPath& show) {
    const PictureFormat kind = format.value_or(doc.Format());
    return SaveDocumentWith(doc, path, kind, show, [&](CFile& file) { doc.Store(file, kind); });
}

std::string SaveDocumentWith(CPeltoDoc& doc, const std::string& path, PictureFormat kind,
                             const ShowPath& show, const std::function<void(CFile&)>& write) {
    SaveOutcome outcome = SaveFile(path, write);
    if (outcome.error) {
        if (!show) return docmsg::CannotSave(path, outcome);
        if (!outcome.backup.empty()) outcome.backup = show(outcome.backup);
        return docmsg::CannotSave(show(path), outcome);
    }
    doc.SetSaved(kind);
    return {};
}

std::string SaveDocumentTo(CPeltoDoc& doc, CFile& output, const std::string& name,
                           std::optional<PictureFormat> format) {
    const PictureFormat kind = format.value_or(doc.Format());
    try {
        doc.Store(output, kind);
        output.Close();
    } catch (const CFileException& e) {
        SaveOutcome outcome;
        outcome.error = e.GetError();
        return docmsg::CannotSave(name, outcome);
    }
    doc.SetSaved(kind);
    return {};
}

} // namespace pelto
