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

} // namespace

CTemporaryFile::CTemporaryFile(const CFolder& folder, const std::string& name)
    : m_folder(folder), m_stem(name.substr(0, 200)), m_file(Create()) {}

CTemporaryFile::~CTemporaryFile() {
    if (!m_name.empty() && !m_bKept) ::unlinkat(m_folder.Descriptor(), m_name.c_str(), 0);
}

std::string CTemporaryFile::HiddenName(unsigned attempt) const {
    return "." + m_stem + ".pelto-" + std::to_string(::getpid()) + "-" +
           std::to_string(g_counter++ + attempt) + ".tmp";
}

template <typename Make> auto CTemporaryFile::UnderHiddenName(Make make) {
    for (unsigned attempt = 0;; ++attempt) {
        const std::string name = HiddenName(attempt);
        // Registered before it exists, so no signal can come between.
        m_registration.emplace(m_folder.Descriptor(), name);
        try {
            auto made = make(name);
            m_name = name;
            return made;
        } catch (const CFileException& e) {
            m_registration.reset();
            if (e.GetError() != EEXIST || attempt + 1 == kAttempts) throw;
        }
    }
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
    return UnderHiddenName(
        [&](const std::string& name) { return CFile(m_folder, name, CFile::Mode::CreateNew); });
}

void CTemporaryFile::Name() {
    if (!m_name.empty()) return;
    UnderHiddenName([&](const std::string& name) {
        m_file.LinkAs(m_folder, name);
        return true;
    });
}

void CTemporaryFile::Replace(const std::string& target) {
    Name();
    m_file.Close();
    const int at = m_folder.Descriptor();
    if (::renameat(at, m_name.c_str(), at, target.c_str()) != 0)
        throw CFileException(errno, m_folder.PathOf(target), "rename");
    m_name.clear();
    m_registration.reset();
    m_folder.Sync();
}

std::string CTemporaryFile::Publish() {
    const std::string base = m_stem + ".pelto-backup";
    const int at = m_folder.Descriptor();
    for (unsigned n = 0; n < kAttempts; ++n) {
        const std::string name = n ? base + "-" + std::to_string(n) : base;
        std::optional<signalcleanup::CRegisteredPath> registration;
        registration.emplace(at, name);
        // A link never replaces a file that is already there.
        try {
            m_file.LinkAs(m_folder, name);
        } catch (const CFileException& e) {
            if (e.GetError() != EEXIST) throw;
            continue;
        }
        if (!m_name.empty()) ::unlinkat(at, m_name.c_str(), 0);
        m_name = name;
        m_registration.reset();
        m_registration.emplace(at, name);
        m_folder.Sync();
        return m_folder.PathOf(name);
    }
    throw CFileException(EEXIST, m_folder.PathOf(base), "link");
}

void CTemporaryFile::Keep() {
    m_bKept = true;
    m_registration.reset();
}

} // namespace pelto
