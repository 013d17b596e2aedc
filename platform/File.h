#pragma once
// A file opened for whole-file reading or writing through a POSIX descriptor.
// Every failure throws CFileException with the errno of the failing call;
// a short read is not a failure (Read returns the count actually read).
// Opening for reading never waits for a writer (a FIFO opens at once).

#include <cstdint>
#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    CFileException(int error, const std::string& path, const std::string& what)
        : std::runtime_error(what + ": " + path), m_nError(error), m_path(path) {}
    int GetError() const { return m_nError; }
    const std::string& GetPath() const { return m_path; }

private:
    int m_nError;
    std::string m_path;
};

class CFile {
public:
    // CreateNew fails when the path exists, so a temporary name is never shared.
    enum class Mode { Read, CreateWrite, CreateNew };

    CFile(const std::string& path, Mode mode);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    uint64_t GetLength() const;
    // Reads up to count bytes; returns the number read (less only at end of file).
    uint64_t Read(void* buffer, uint64_t count);
    void Write(const void* buffer, uint64_t count);
    // Forces written data to the device; a write error the system deferred shows up here.
    void Sync();
    // Closes the descriptor, reporting a deferred write error; the destructor closes silently.
    void Close();
    // Sets the permission bits of the open file.
    void SetMode(unsigned mode);
    // Simulates a full or failing device: once `bytes` more bytes have been
    // written, Write and Sync fail with error (ENOSPC, EIO, ...); error 0 lifts it.
    static void SetWriteFaultForTesting(int error, uint64_t bytes = 0);
    const std::string& GetFilePath() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};
