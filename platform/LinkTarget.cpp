#include "LinkTarget.h"

#include "File.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

std::string ReadLink(const std::string& link) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n < 0) throw CFileException(errno, link, "readlink");
    if (size_t(n) == sizeof target) throw CFileException(ENAMETOOLONG, link, "readlink");
    return std::string(target, size_t(n));
}

} // namespace

std::string ResolveWriteTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) return current;
            throw CFileException(errno, path, "stat");
        }
        if (!S_ISLNK(st.st_mode)) return current;
        const std::string target = ReadLink(current);
        const size_t slash = current.rfind('/');
        // A relative link counts from the folder that holds it.
        current = target.starts_with('/') || slash == std::string::npos
                      ? target
                      : current.substr(0, slash + 1) + target;
    }
    throw CFileException(ELOOP, path, "stat");
}

} // namespace pelto
