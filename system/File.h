#pragma once
// A file opened through a POSIX descriptor, for whole-file reading or writing.
// Every failure throws CFileException with the errno of the failing call;
// a short read is not a failure (Read returns the count actually read).
// Opening for reading never waits for a writer: a FIFO opens at once, and its
// first read waits a moment for a writer to come (none coming reads as the end);
// ReadWaiting waits for the writer as cat does; given a stop check, it waits
// only until its writer has written or left, looking at the check now and
// then, and ends with EINTR when the check says to stop.
// A write to a pipe whose reader has gone fails with EPIPE instead of raising SIGPIPE.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace pelto {

class CFileException : public std::runtime_error {
public:
    CFileException(int error, const std::string& path, const std::string& what)
        : std::runtime_error(what + ": " + path), m_nError(error) {}
    int GetError() const { return m_nError; }

private:
    int m_nError;
};

class CFolder;

class CFile {
public:
    enum class Mode {
        Read,
        ReadWaiting,  // as Read, but a FIFO waits for its writer however long it takes
        CreateWrite,  // created or truncated
        CreateNew,    // read and write; fails when the path exists, so a name is never shared
        WriteInPlace, // an existing file, device or FIFO, not truncated; a FIFO without a reader
                      // fails with ENXIO
    };
    // How long the first read of a FIFO waits for a writer.
    static constexpr int kWriterGraceMs = 2000;
    // How often a wait for a FIFO's writer looks at its stop check.
    static constexpr int kStopCheckMs = 50;
    using StopCheck = std::function<bool()>;

    // stop: for ReadWaiting alone (see above).
    CFile(const std::string& path, Mode mode, const StopCheck& stop = {});
    // The file called name in folder; CreateNew makes it with permissions permissions.
    CFile(const CFolder& folder, const std::string& name, Mode mode, unsigned permissions = 0666);
    // An unnamed file in folder (O_TMPFILE), read and write, permissions 0666
    // less the umask; it vanishes with its descriptor unless linked in.
    static CFile CreateUnnamed(const CFolder& folder);
    // A file over a duplicate of descriptor fd (standard input or output).
    static CFile Duplicate(int fd, const std::string& name);
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&&) = delete;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    struct stat Status() const;
    uint64_t GetLength() const;
    // Reads up to count bytes; returns the number read (less only at the end).
    uint64_t Read(void* buffer, uint64_t count);
    // Reads up to count bytes at offset without moving the position; a big
    // read, in parts at once.
    uint64_t ReadAt(void* buffer, uint64_t count, uint64_t offset);
    void Write(const void* buffer, uint64_t count);
    // Writes count bytes at offset without moving the position; threads may
    // write apart at once.
    void WriteAt(const void* buffer, uint64_t count, uint64_t offset);
    // From now on the system starts putting what is written on the device
    // soon after (a regular file's), so that Sync has little left to wait for.
    void WriteBehind() { m_bWriteBehind = true; }
    bool WritesBehind() const { return m_bWriteBehind; }
    // Writes from now on go past the system's cache straight to the device
    // (on), or through it again (off); false when the file or its filesystem
    // refuses. Direct writes need their buffer, count and offset aligned to
    // kDirectAlignment, or fail with EINVAL.
    bool SetDirect(bool on);
    bool WritesDirect() const { return m_bDirect; }
    static constexpr uint64_t kDirectAlignment = 4096;
    void Seek(uint64_t offset);
    uint64_t GetPosition() const;
    void SetLength(uint64_t length);
    // Forces written data to the device; a write error the system deferred shows up here.
    void Sync();
    // Closes the descriptor, reporting a deferred write error; the destructor closes silently.
    void Close();
    // Sets the permission bits, or the owner and group, of the open file.
    void SetMode(unsigned mode);
    void SetOwner(uid_t owner, gid_t group);
    // Gives the open file the name `name` in folder too (which must not exist yet).
    void LinkAs(const CFolder& folder, const std::string& name);
    const std::string& GetFilePath() const { return m_path; }

private:
    CFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    void OpenAt(int folder, const std::string& name, Mode mode, unsigned permissions,
                const StopCheck& stop = {});
    // 0 once a writer has written or left, EINTR when stop said so first.
    int AwaitWriter(const StopCheck& stop) const;
    [[noreturn]] void Fail(const char* what) const;
    uint64_t ReadSpan(void* buffer, uint64_t count, uint64_t offset) const;
    // Write at the position (offset < 0) or at offset.
    void Put(const void* buffer, uint64_t count, int64_t offset);
    void StartWriteback(int64_t offset, uint64_t count);
    // A FIFO opened here without waiting: its first read may still find no writer.
    bool m_bAwaitingWriter = false;
    bool m_bWriteBehind = false;
    bool m_bDirect = false;
    uint64_t m_nUnstarted = 0; // bytes Write put down since writeback was last started
    int m_fd = -1;
    std::string m_path;
};

} // namespace pelto
