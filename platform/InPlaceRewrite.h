#pragma once
// Rewrites an existing file in place, keeping its links, owner, group and mode:
// its old content is first copied to a temporary file (in its folder, or in
// the temporary folder when its own cannot take one) and checked, then the
// new content is written over it; if that fails the old content is put back,
// and if even that fails the copy is kept under a visible name. The
// catchable signals wait until the file is whole again.

#include "FileSave.h"

namespace pelto {

void RewriteInPlace(const std::string& target, const std::function<void(CFile&)>& write,
                    SaveOutcome& outcome);

} // namespace pelto
