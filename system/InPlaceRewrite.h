#pragma once
// Rewrites an existing file in place, keeping its links, owner, group and mode.
// Its old content is first copied (in its folder, or in $TMPDIR, /tmp by
// default, when its own takes no new file) and checked; while the new content
// is written over it, the copy stands under the visible name
// NAME.pelto-backup (numbered when taken), so that a save ended at any moment,
// even by kill -9 or a power cut, leaves the old content or the new. If the
// write fails the old content is put back, and if even that fails the copy
// stays under that name. The catchable signals wait until the file is whole
// again; the copy goes when it is.

#include "FileSave.h"
#include "LinkTarget.h"

namespace pelto {

void RewriteInPlace(const WriteTarget& target, const std::function<void(CFile&)>& write,
                    SaveOutcome& outcome);

} // namespace pelto
