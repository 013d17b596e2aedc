#include "FileSave.h"

#include "InPlaceRewrite.h"
#include "LinkTarget.h"
#include "TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace pelto {

namespace {

// False when nothing is there (the save makes a new file). A link left in
// target is a descriptor's own, and stands for what it leads to.
bool StatTarget(const WriteTarget& target, struct stat& st) {
    const char* name = target.name.empty() ? "." : target.name.c_str();
    if (::fstatat(target.folder.Descriptor(), name, &st, 0) == 0) return true;
    if (errno == ENOENT) return false;
    throw CFileException(errno, target.path, "stat");
}

void WriteInPlace(const WriteTarget& target, const std::function<void(CFile&)>& write) {
    CFile file(target.folder, target.name, CFile::Mode::WriteInPlace);
    write(file);
    file.Close();
}

// Whether a file this process makes can be given the old file's owner and
// group: its own and one of its groups, or any for root.
bool MayKeepOwner(const struct stat& old) {
    if (::geteuid() == 0) return true;
    if (old.st_uid != ::geteuid()) return false;
    if (old.st_gid == ::getegid()) return true;
    std::vector<gid_t> groups(size_t(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(int(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), old.st_gid) !=
           groups.begin() + std::max(count, 0);
}

bool FolderRefusesNewFiles(int error) {
    return error == EACCES || error == EPERM;
}

// Writes a new file and renames it over target; false, with nothing written,
// when an old file must be rewritten in place after all: the new file cannot
// take its owner and group, or its folder takes no new file (a shell redirect
// still writes a file it may open there).
bool ReplaceFile(const WriteTarget& target, const struct stat* old,
                 const std::function<void(CFile&)>& write) {
    std::optional<CTemporaryFile> temporary;
    try {
        temporary.emplace(target.folder, target.name);
    } catch (const CFileException& e) {
        if (old && FolderRefusesNewFiles(e.GetError())) return false;
        throw;
    }
    CFile& file = temporary->File();
    if (old) {
        const struct stat made = file.Status();
        if (made.st_uid != old->st_uid || made.st_gid != old->st_gid) {
            try {
                file.SetOwner(old->st_uid, old->st_gid);
            } catch (const CFileException& e) {
                if (e.GetError() == EPERM) return false;
                throw;
            }
        }
        // After the owner: a change of owner clears the set-user-ID bits.
        file.SetMode(old->st_mode & 07777);
    }
    // Nobody sees the file before it is whole, so the device may take it as it comes.
    file.WriteBehind();
    write(file);
    file.Sync();
    temporary->Replace(target.name);
    return true;
}

} // namespace

SaveOutcome SaveFile(const std::string& path, const std::function<void(CFile&)>& write) {
    SaveOutcome outcome;
    try {
        const WriteTarget target = ResolveWriteTarget(path);
        struct stat old {};
        const bool exists = StatTarget(target, old);
        if (exists && S_ISDIR(old.st_mode)) throw CFileException(EISDIR, target.path, "open");
        // open() refuses a socket as it refuses a FIFO nobody reads; say which it was.
        if (exists && S_ISSOCK(old.st_mode))
            throw CFileException(kSocketTarget, target.path, "open");
        if (exists && !S_ISREG(old.st_mode)) {
            // A device or a pipe is written in place: renaming over it would replace the node.
            WriteInPlace(target, write);
            return outcome;
        }
        outcome.hadOriginal = exists;
        if (exists &&
            ::faccessat(target.folder.Descriptor(), target.name.c_str(), W_OK, AT_EACCESS) != 0)
            throw CFileException(errno, target.path, "access");
        // Replacing a file with other links would cut them off; one reached
        // through a descriptor's link (deleted, or a memfd) has no name to replace.
        const bool inPlace =
            exists && (old.st_nlink != 1 || target.folder.IsProcess() || !MayKeepOwner(old));
        if (inPlace || !ReplaceFile(target, exists ? &old : nullptr, write))
            RewriteInPlace(target, write, outcome);
    } catch (const CFileException& e) {
        outcome.error = e.GetError();
    }
    return outcome;
}

} // namespace pelto
