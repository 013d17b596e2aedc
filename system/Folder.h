#pragma once
// A folder held open by its descriptor, so that the files a save makes and
// renames in it are named relative to it: a path the system accepts stays
// acceptable however long the names made beside it are, and a folder renamed
// meanwhile cannot send the pieces of one save to two places.
// Failures throw CFileException with the errno of the failing call.
//
// Web twin: the browser build compiles web/WebPlatform.cpp instead of
// Folder.cpp; there every folder refuses to open (ENOTSUP).

#include <string>

namespace pelto {

class CFolder {
public:
    // The folder at path, relative to the working folder.
    static CFolder Open(const std::string& path);
    // A folder relative to this one ("." for itself).
    CFolder At(const std::string& relative) const;
    CFolder(CFolder&& other) noexcept;
    CFolder& operator=(CFolder&& other) noexcept;
    ~CFolder();
    CFolder(const CFolder&) = delete;
    CFolder& operator=(const CFolder&) = delete;

    int Descriptor() const { return m_fd; }
    // The path it was reached by, for messages.
    const std::string& Path() const { return m_path; }
    // The path of a file in it, for messages.
    std::string PathOf(const std::string& name) const;
    // Whether it lies on /proc, where a descriptor's link stands for the open file itself.
    bool IsProcess() const;
    // Makes the names just made or renamed in it durable; best effort.
    void Sync() const;

private:
    CFolder(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    int m_fd;
    std::string m_path;
};

} // namespace pelto
