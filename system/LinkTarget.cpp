#include "LinkTarget.h"

#include "File.h"
#include "PathParts.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

std::string ReadLink(const CFolder& folder, const std::string& name) {
    char target[PATH_MAX];
    const ssize_t n = ::readlinkat(folder.Descriptor(), name.c_str(), target, sizeof target);
    if (n < 0) throw CFileException(errno, folder.PathOf(name), "readlink");
    if (size_t(n) == sizeof target)
        throw CFileException(ENAMETOOLONG, folder.PathOf(name), "readlink");
    return std::string(target, size_t(n));
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool NamesTheOpenFile(const WriteTarget& link, const std::string& text) {
    struct stat open {
    }, named{};
    return text.starts_with('/') &&
           ::fstatat(link.folder.Descriptor(), link.name.c_str(), &open, 0) == 0 &&
           ::stat(text.c_str(), &named) == 0 && SameFile(open, named);
}

} // namespace

WriteTarget ResolveWriteTarget(const std::string& path) {
    WriteTarget at{CFolder::Open(FolderOf(path)), NameOf(path), path};
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        // "dir/" names the folder itself.
        const std::string name = at.name.empty() ? "." : at.name;
        if (::fstatat(at.folder.Descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) return at;
            throw CFileException(errno, path, "stat");
        }
        if (!S_ISLNK(st.st_mode)) return at;
        const std::string text = ReadLink(at.folder, at.name);
        // A descriptor's link reaches its open file whatever its text says:
        // "pipe:[N]", "/memfd:x", "/a/b (deleted)" or a name since taken by
        // another file. Its text is followed only where it names that file.
        if (at.folder.IsProcess() && !NamesTheOpenFile(at, text)) return at;
        // A relative link counts from the folder that holds it.
        const bool absolute = text.starts_with('/');
        CFolder next = absolute ? CFolder::Open(FolderOf(text)) : at.folder.At(FolderOf(text));
        const size_t slash = at.path.rfind('/');
        at.path =
            absolute || slash == std::string::npos ? text : at.path.substr(0, slash + 1) + text;
        at.folder = std::move(next);
        at.name = NameOf(text);
    }
    throw CFileException(ELOOP, path, "stat");
}

} // namespace pelto
