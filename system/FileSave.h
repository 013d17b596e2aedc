#pragma once
// Saving a whole file so that a failed save never loses or changes the old
// one, and a save onto an existing file does only what opening it for
// writing would allow (the answer access(W_OK) gives: root still may).
//  - A new file, or an existing one with a single link whose owner and group
//    can be kept, is written to a temporary file beside it, synced and renamed
//    over it; the new file takes the old one's owner, group and mode.
//  - A file with more than one hard link, one whose owner or group this
//    process cannot give a new file, or one in a folder that takes no new
//    file, is rewritten in place from a verified copy of its old content
//    (see InPlaceRewrite.h), which is put back if the rewrite fails.
//  - A device or a FIFO is written in place; a FIFO nobody reads fails with
//    ENXIO instead of waiting; a socket fails with kSocketTarget.
//  - Symbolic links are followed as open() follows them (a dangling one to the
//    file it names); a loop of links fails with ELOOP.

#include "File.h"

#include <cerrno>
#include <functional>
#include <string>

namespace pelto {

// The error of a save onto a socket, which no file can be written to.
inline constexpr int kSocketTarget = ESOCKTNOSUPPORT;

struct SaveOutcome {
    int error = 0;            // 0 when saved, else the errno of the step that failed
    bool hadOriginal = false; // a file stood at the target
    bool originalKept = true; // ... and still holds its old content
    std::string backup;       // where the old content was left when it could not be put back
};

// write puts the whole content into the file it is given, from its start;
// it reports failures by throwing CFileException.
SaveOutcome SaveFile(const std::string& path, const std::function<void(CFile&)>& write);

} // namespace pelto
