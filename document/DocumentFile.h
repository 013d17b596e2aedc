#pragma once
// The document's open and save steps, from a path to a document and back.
// Open: a zero-length file gives a document with an empty picture; a refused
// file gives the picture's own message, then kUnexpectedFormat, and no
// document. A pipe, a FIFO or a terminal is read to its end first (a FIFO
// waits a moment for its writer), then checked like a file; one that
// delivers nothing opens, like a zero-length file, as an empty picture.
// A picture that cannot fit in the memory left is refused before it is loaded.
// A PNG opens as the same 24-bit picture, with its opacity beside it when it
// has transparency, its fully transparent pixels selected.
// Save: see system/FileSave.h; a failed save never loses or changes the old
// file, and never leaves a temporary file behind. A picture is saved as the
// kind of file it came from unless format says otherwise; a picture saved is
// no longer modified.

#include "PeltoDoc.h"
#include "system/File.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pelto {

struct DocOpenResult {
    std::unique_ptr<CPeltoDoc> doc;    // null when the open failed
    std::vector<std::string> messages; // shown in this order when it failed
    bool outOfMemory = false;          // the reason it failed
};

// A run that opens, makes one button and saves (pelto-cli's single runs and
// batches, the web's style run): the document keeps no undo snapshot, and a
// picture whose whole run (the picks, the cut-out when asked for, this one
// button, the save) cannot fit in the memory left is refused before it is loaded.
struct RunWithoutUndo {
    ButtonParams params;
    unsigned threads = 0;
    bool cutOut = false;
    bool states = false; // the four states and their sprite too
};

// A FIFO's writer is waited for a moment (Read), or as long as it takes (ReadWaiting).
DocOpenResult OpenDocument(const std::string& path, CFile::Mode mode = CFile::Mode::Read);
// The memory the whole run of the picture in the file at path holds at its
// peak, from its first bytes, as its open checks it; 0 for what is not a
// regular file (left unopened), cannot be read or is refused (its run ends at once).
uint64_t WholeRunFootprint(const std::string& path, const RunWithoutUndo& run);
// From a file already open (standard input, or a file the caller opened its
// own way); name stands for it in messages.
DocOpenResult OpenDocumentFrom(CFile& input, const std::string& name,
                               const std::optional<RunWithoutUndo>& run = std::nullopt);

// How a path is shown in a message: as it stands unless the caller says.
using ShowPath = std::function<std::string(const std::string& path)>;

// Empty on success, otherwise the message for the user, its paths (path, and
// where the old content was left) shown by show.
std::string SaveDocument(CPeltoDoc& doc, const std::string& path,
                         std::optional<PictureFormat> format = std::nullopt,
                         const ShowPath& show = {});
// SaveDocument with the file's content, the picture as kind from its start,
// written by write.
std::string SaveDocumentWith(CPeltoDoc& doc, const std::string& path, PictureFormat kind,
                             const ShowPath& show, const std::function<void(CFile&)>& write);
// Into a file already open (standard output), from where it stands.
std::string SaveDocumentTo(CPeltoDoc& doc, CFile& output, const std::string& name,
                           std::optional<PictureFormat> format = std::nullopt);

} // namespace pelto
