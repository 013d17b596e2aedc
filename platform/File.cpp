#include "File.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<int> g_faultError{0};
std::atomic<uint64_t> g_faultBudget{0};
} // namespace

CFile::CFile(const std::string& path, Mode mode) : m_path(path) {
    int flags = O_RDONLY | O_NONBLOCK; // a FIFO without a writer must not hang the open
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
        const int fault = g_faultError.load();
        const uint64_t chunk = fault ? std::min(count - done, g_faultBudget.load()) : count - done;
        if (chunk == 0) throw CFileException(fault, m_path, "write");
        const ssize_t n = ::write(m_fd, in + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CFileException(errno, m_path, "write");
        }
        if (n == 0) throw CFileException(ENOSPC, m_path, "write");
        if (fault) g_faultBudget -= static_cast<uint64_t>(n);
        done += static_cast<uint64_t>(n);
    }
}

void CFile::Sync() {
    if (const int fault = g_faultError.load(); fault && g_faultBudget.load() == 0)
        throw CFileException(fault, m_path, "sync");
    if (::fsync(m_fd) != 0) throw CFileException(errno, m_path, "sync");
}

void CFile::Close() {
    const int fd = m_fd;
    m_fd = -1;
    if (fd >= 0 && ::close(fd) != 0) throw CFileException(errno, m_path, "close");
}

void CFile::SetMode(unsigned mode) {
    if (::fchmod(m_fd, static_cast<mode_t>(mode)) != 0)
        throw CFileException(errno, m_path, "chmod");
}

void CFile::SetWriteFaultForTesting(int error, uint64_t bytes) {
    g_faultBudget = bytes;
    g_faultError = error;
}
