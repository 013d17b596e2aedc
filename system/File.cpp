#include "File.h"

#include "FaultInjection.h"
#include "Folder.h"
#include "MemoryLimit.h"
#include "ThreadPlacement.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace pelto {

namespace {

void ClearNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK)) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

// While one lives, a write to a pipe without a reader fails with EPIPE and
// the SIGPIPE it raises for this thread is taken back instead of ending the process.
class CQuietPipe {
public:
    CQuietPipe() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_bWasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &m_old);
    }
    ~CQuietPipe() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        if (m_bRaised && !m_bWasPending) {
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    void Raised() { m_bRaised = true; }

private:
    sigset_t m_old{};
    bool m_bWasPending = false;
    bool m_bRaised = false;
};
// A big read from the cache is the copy and the page clearing of its block:
// two threads do it in half the time.
constexpr uint64_t kSplitBytes = uint64_t(4) << 20;

} // namespace

CFile::CFile(const std::string& path, Mode mode, const StopCheck& stop) : m_path(path) {
    OpenAt(AT_FDCWD, path, mode, 0666, stop);
}

CFile::CFile(const CFolder& folder, const std::string& name, Mode mode, unsigned permissions)
    : m_path(folder.PathOf(name)) {
    OpenAt(folder.Descriptor(), name, mode, permissions);
}

void CFile::OpenAt(int folder, const std::string& name, Mode mode, unsigned permissions,
                   const StopCheck& stop) {
    int flags = O_RDONLY | O_NONBLOCK; // a FIFO without a writer must not hang the open
    // Without a stop check the open itself waits for a FIFO's writer.
    if (mode == Mode::ReadWaiting && !stop) flags = O_RDONLY;
    if (mode == Mode::CreateWrite) flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (mode == Mode::CreateNew) flags = O_RDWR | O_CREAT | O_EXCL;
    if (mode == Mode::WriteInPlace) flags = O_WRONLY | O_NONBLOCK | O_NOCTTY;
    do
        m_fd = ::openat(folder, name.c_str(), flags | O_CLOEXEC, mode_t(permissions));
    while (m_fd < 0 && errno == EINTR); // a FIFO's writer may be awaited through signals
    if (m_fd < 0) throw CFileException(errno, m_path, "open");
    const bool reading = mode == Mode::Read || mode == Mode::ReadWaiting;
    const bool awaiting = mode == Mode::ReadWaiting && stop;
    struct stat st {};
    int error = 0;
    if (::fstat(m_fd, &st) != 0)
        error = errno;
    else if (reading && S_ISDIR(st.st_mode))
        error = EISDIR;
    else if (awaiting && S_ISFIFO(st.st_mode))
        error = AwaitWriter(stop);
    if (error) {
        ::close(m_fd);
        m_fd = -1;
        throw CFileException(error, m_path, "open");
    }
    if (mode == Mode::Read && S_ISFIFO(st.st_mode)) m_bAwaitingWriter = true;
    if (mode == Mode::WriteInPlace || awaiting) ClearNonBlocking(m_fd);
}

int CFile::AwaitWriter(const StopCheck& stop) const {
    // Opened without waiting, a FIFO shows neither data nor a hang-up before a writer came.
    pollfd waiting{m_fd, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&waiting, 1, kStopCheckMs);
        if (ready > 0) return 0;
        if (ready < 0 && errno != EINTR) return errno;
        if (stop()) return EINTR;
    }
}

CFile CFile::CreateUnnamed(const CFolder& folder) {
    const int fd = ::openat(folder.Descriptor(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0) throw CFileException(errno, folder.Path(), "open");
    return CFile(fd, folder.Path());
}

CFile CFile::Duplicate(int fd, const std::string& name) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) throw CFileException(errno, name, "open");
    return CFile(copy, name);
}

CFile::CFile(CFile&& other) noexcept
    : m_bAwaitingWriter(other.m_bAwaitingWriter), m_bWriteBehind(other.m_bWriteBehind),
      m_bDirect(other.m_bDirect), m_nUnstarted(other.m_nUnstarted), m_fd(other.m_fd),
      m_path(std::move(other.m_path)) {
    other.m_fd = -1;
}

CFile::~CFile() {
    if (m_fd >= 0) ::close(m_fd);
}

void CFile::Fail(const char* what) const {
    throw CFileException(errno, m_path, what);
}

struct stat CFile::Status() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) Fail("stat");
    return st;
}

uint64_t CFile::GetLength() const {
    return static_cast<uint64_t>(Status().st_size);
}

uint64_t CFile::Read(void* buffer, uint64_t count) {
    if (struct stat st{}; count >= kSplitBytes && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // A big read of a regular file is ReadAt's, where the file stands.
        const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
        if (at >= 0) {
            const uint64_t done = ReadAt(buffer, count, uint64_t(at));
            Seek(uint64_t(at) + done);
            return done;
        }
    }
    auto* out = static_cast<char*>(buffer);
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN) Fail("read");
            // A writer is there but has not written yet: wait for it from now on.
            ClearNonBlocking(m_fd);
            m_bAwaitingWriter = false;
            continue;
        }
        if (n == 0) {
            if (!m_bAwaitingWriter) break;
            // No writer yet: give one a moment to open the FIFO.
            m_bAwaitingWriter = false;
            pollfd waiting{m_fd, POLLIN, 0};
            if (::poll(&waiting, 1, kWriterGraceMs) <= 0) break;
            continue;
        }
        m_bAwaitingWriter = false;
        done += static_cast<uint64_t>(n);
    }
    return done;
}

uint64_t CFile::ReadAt(void* buffer, uint64_t count, uint64_t offset) {
#if defined(__linux__)
    if (count >= kSplitBytes && std::thread::hardware_concurrency() > 1 &&
        !memlimit::AddressSpaceLimited()) {
        const uint64_t half = count / 2;
        uint64_t second = 0;
        std::exception_ptr failure;
        std::optional<std::thread> helper;
        try {
            helper.emplace(StartApart(1, [&] {
                try {
                    second =
                        ReadSpan(static_cast<char*>(buffer) + half, count - half, offset + half);
                } catch (...) {
                    failure = std::current_exception();
                }
            }));
        } catch (const std::system_error&) {
            return ReadSpan(buffer, count, offset);
        }
        uint64_t first = 0;
        try {
            first = ReadSpan(buffer, half, offset);
        } catch (...) {
            helper->join();
            throw;
        }
        helper->join();
        if (failure) std::rethrow_exception(failure);
        return first < half ? first : first + second;
    }
#endif
    return ReadSpan(buffer, count, offset);
}

uint64_t CFile::ReadSpan(void* buffer, uint64_t count, uint64_t offset) const {
    auto* out = static_cast<char*>(buffer);
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(m_fd, out + done, count - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("read");
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, uint64_t count) {
    Put(buffer, count, -1);
}

void CFile::WriteAt(const void* buffer, uint64_t count, uint64_t offset) {
    Put(buffer, count, int64_t(offset));
}

void CFile::Put(const void* buffer, uint64_t count, int64_t offset) {
    const auto* in = static_cast<const char*>(buffer);
    CQuietPipe quiet;
    uint64_t done = 0;
    while (done < count) {
        const uint64_t chunk = faults::WritableBytes(count - done);
        if (chunk == 0) throw CFileException(faults::WriteError(), m_path, "write");
        const ssize_t n = offset < 0 ? ::write(m_fd, in + done, chunk)
                                     : ::pwrite(m_fd, in + done, chunk, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EPIPE) quiet.Raised();
            Fail("write");
        }
        if (n == 0) throw CFileException(ENOSPC, m_path, "write");
        faults::SpendWrite(static_cast<uint64_t>(n));
        done += static_cast<uint64_t>(n);
    }
    // What goes past the cache is on its way already.
    if (m_bWriteBehind && !m_bDirect && count) StartWriteback(offset, count);
}

bool CFile::SetDirect(bool on) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, on ? flags | O_DIRECT : flags & ~O_DIRECT) != 0)
        return false;
    m_bDirect = on;
    return true;
#else
    return !on;
#endif
}

void CFile::StartWriteback(int64_t offset, uint64_t count) {
#if defined(__linux__)
    // Only a start: Sync still reports what goes wrong, so errors here are let be.
    if (offset >= 0) {
        ::sync_file_range(m_fd, off_t(offset), off_t(count), SYNC_FILE_RANGE_WRITE);
        return;
    }
    // Small writes (a PNG's chunks) are gathered: each start is a system call.
    constexpr uint64_t kGathered = uint64_t(1) << 20;
    m_nUnstarted += count;
    if (m_nUnstarted < kGathered) return;
    m_nUnstarted = 0;
    ::sync_file_range(m_fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)offset, (void)count;
#endif
}

void CFile::Seek(uint64_t offset) {
    if (::lseek(m_fd, off_t(offset), SEEK_SET) < 0) Fail("seek");
}

uint64_t CFile::GetPosition() const {
    const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    if (at < 0) Fail("seek");
    return static_cast<uint64_t>(at);
}

void CFile::SetLength(uint64_t length) {
    while (::ftruncate(m_fd, off_t(length)) != 0)
        if (errno != EINTR) Fail("truncate");
}

void CFile::Sync() {
    if (const int fault = faults::WriteError(); fault && faults::WritableBytes(1) == 0)
        throw CFileException(fault, m_path, "sync");
    if (::fsync(m_fd) != 0) Fail("sync");
}

void CFile::Close() {
    const int fd = m_fd;
    m_fd = -1;
    if (fd >= 0 && ::close(fd) != 0) Fail("close");
}

void CFile::SetMode(unsigned mode) {
    if (::fchmod(m_fd, static_cast<mode_t>(mode)) != 0) Fail("chmod");
}

void CFile::SetOwner(uid_t owner, gid_t group) {
    if (::fchown(m_fd, owner, group) != 0) Fail("chown");
}

void CFile::LinkAs(const CFolder& folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    const int at = folder.Descriptor();
    if (::linkat(AT_FDCWD, self.c_str(), at, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return;
    const int error = errno;
    // Without /proc the descriptor itself can be linked, where the system allows it.
    if (error == ENOENT && ::linkat(m_fd, "", at, name.c_str(), AT_EMPTY_PATH) == 0) return;
    throw CFileException(error, folder.PathOf(name), "link");
}

} // namespace pelto
