#pragma once
// The file a write to a path lands on, with symbolic links followed the way
// open() follows them: a dangling link gives the missing file it names, so a
// save creates that file as a shell redirect would; a loop of links, or a
// chain longer than the system follows, throws CFileException(ELOOP). A link
// of /proc that stands for an open descriptor (/dev/stdout, /proc/self/fd/1)
// is followed by its text only where that names the open file itself;
// otherwise (a pipe, socket or terminal, a deleted file, a memfd) the link is
// where the write lands: opening it reaches that object, whatever its text says. Every step is
// taken relative to the folder reached so far, so no joined path can grow too long.

#include "Folder.h"

#include <string>

namespace pelto {

struct WriteTarget {
    CFolder folder;
    std::string name; // in folder; may not exist yet
    std::string path; // the whole target, for messages
};

WriteTarget ResolveWriteTarget(const std::string& path);

} // namespace pelto
