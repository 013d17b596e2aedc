#include "Folder.h"

#include "File.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace pelto {

namespace {

// O_PATH needs only the right to pass through the folder, not to list it.
int OpenFolder(int at, const std::string& path, const std::string& shown) {
    const int fd = ::openat(at, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw CFileException(errno, shown, "open");
    return fd;
}

} // namespace

CFolder CFolder::Open(const std::string& path) {
    return CFolder(OpenFolder(AT_FDCWD, path, path), path);
}

CFolder CFolder::At(const std::string& relative) const {
    const std::string shown = relative == "." ? m_path : PathOf(relative);
    return CFolder(OpenFolder(m_fd, relative, shown), shown);
}

CFolder::CFolder(CFolder&& other) noexcept : m_fd(other.m_fd), m_path(std::move(other.m_path)) {
    other.m_fd = -1;
}

CFolder& CFolder::operator=(CFolder&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

CFolder::~CFolder() {
    if (m_fd >= 0) ::close(m_fd);
}

std::string CFolder::PathOf(const std::string& name) const {
    return m_path == "/" ? "/" + name : m_path + "/" + name;
}

bool CFolder::IsProcess() const {
    struct statfs fs {};
    return ::fstatfs(m_fd, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

void CFolder::Sync() const {
    // A descriptor opened with O_PATH cannot be synced; one for reading can.
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace pelto
