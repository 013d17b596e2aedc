#include "TemporaryFile.h"

#include "FaultInjection.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace pelto {

namespace {

std::atomic<unsigned> g_counter{0};
constexpr unsigned kAttempts = 100;

// The filesystem, not the folder, refuses unnamed files.
bool UnnamedUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // the rename is done either way; this only makes it durable sooner
    ::close(fd);
}

} // namespace

CTemporaryFile::CTemporaryFile(const std::string& folder, const std::string& name)
    : m_folder(folder), m_stem(name.substr(0, 200)), m_file(Create()) {}

CTemporaryFile::~CTemporaryFile() {
    if (!m_path.empty()) ::unlink(m_path.c_str());
}

std::string CTemporaryFile::HiddenName(unsigned attempt) const {
    return m_folder + "/." + m_stem + ".pelto-" + std::to_string(::getpid()) + "-" +
           std::to_string(g_counter++ + attempt) + ".tmp";
}

CFile CTemporaryFile::Create() {
    signalcleanup::Install();
    if (faults::UnnamedFilesAllowed()) {
        try {
            return CFile::CreateUnnamed(m_folder);
        } catch (const CFileException& e) {
            if (!UnnamedUnsupported(e.GetError())) throw;
        }
    }
    for (unsigned attempt = 0;; ++attempt) {
        const std::string path = HiddenName(attempt);
        // Registered before it exists, so no signal can come between.
        m_registration.emplace(path);
        try {
            CFile file(path, CFile::Mode::CreateNew);
            m_path = path;
            return file;
        } catch (const CFileException& e) {
            m_registration.reset();
            if (e.GetError() != EEXIST || attempt + 1 == kAttempts) throw;
        }
    }
}

void CTemporaryFile::Name() {
    for (unsigned attempt = 0; m_path.empty(); ++attempt) {
        const std::string path = HiddenName(attempt);
        m_registration.emplace(path);
        try {
            m_file.LinkAs(path);
            m_path = path;
        } catch (const CFileException& e) {
            m_registration.reset();
            if (e.GetError() != EEXIST || attempt + 1 == kAttempts) throw;
        }
    }
}

void CTemporaryFile::Replace(const std::string& target) {
    Name();
    m_file.Close();
    if (std::rename(m_path.c_str(), target.c_str()) != 0)
        throw CFileException(errno, target, "rename");
    m_path.clear();
    m_registration.reset();
    SyncFolder(m_folder);
}

std::string CTemporaryFile::Keep() {
    Name();
    m_file.Close();
    const std::string base = m_folder + "/" + m_stem + ".pelto-backup";
    for (unsigned n = 0; n < kAttempts; ++n) {
        const std::string name = n ? base + "-" + std::to_string(n) : base;
        // A hard link never replaces a file that is already there.
        if (::link(m_path.c_str(), name.c_str()) == 0) {
            ::unlink(m_path.c_str());
            m_path.clear();
            m_registration.reset();
            return name;
        }
        if (errno != EEXIST) throw CFileException(errno, name, "link");
    }
    throw CFileException(EEXIST, base, "link");
}

} // namespace pelto
