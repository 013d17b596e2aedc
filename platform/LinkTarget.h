#pragma once
// The file a write to a path lands on, with symbolic links followed the way
// open() follows them: a dangling link gives the missing file it names, so a
// save creates that file as a shell redirect would; a loop of links, or a
// chain longer than the system follows, throws CFileException(ELOOP).

#include <string>

namespace pelto {

std::string ResolveWriteTarget(const std::string& path);

} // namespace pelto
