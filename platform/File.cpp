#include "File.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::CFile(const std::string& path, Mode mode) : m_path(path) {
    int flags = O_RDONLY;
    if (mode == Mode::CreateWrite) flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (mode == Mode::CreateNew) flags = O_WRONLY | O_CREAT | O_EXCL;
    m_fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (m_fd < 0) throw CFileException(errno, path, "open");
    if (mode == Mode::Read) {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
            ::close(m_fd);
            m_fd = -1;
            throw CFileException(error, path, "open");
        }
    }
}

CFile::~CFile() {
    if (m_fd >= 0) ::close(m_fd);
}

uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) throw CFileException(errno, m_path, "stat");
    return static_cast<uint64_t>(st.st_size);
}

uint64_t CFile::Read(void* buffer, uint64_t count) {
    auto* out = static_cast<char*>(buffer);
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CFileException(errno, m_path, "read");
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, uint64_t count) {
    const auto* in = static_cast<const char*>(buffer);
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CFileException(errno, m_path, "write");
        }
        done += static_cast<uint64_t>(n);
    }
}

void CFile::Sync() {
    if (::fsync(m_fd) != 0) throw CFileException(errno, m_path, "sync");
}

void CFile::Close() {
    const int fd = m_fd;
    m_fd = -1;
    if (fd >= 0 && ::close(fd) != 0) throw CFileException(errno, m_path, "close");
}

void CFile::SetMode(unsigned mode) {
    if (::fchmod(m_fd, static_cast<mode_t>(mode)) != 0) throw CFileException(errno, m_path, "chmod");
}
