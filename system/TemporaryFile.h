#pragma once
// A temporary file in a folder, for a file to be called `name` there.
// Unnamed (O_TMPFILE) where the filesystem offers it, so not even kill -9
// leaves it behind; elsewhere under a hidden name (.NAME.pelto-PID-N.tmp)
// registered for removal on SIGTERM, SIGINT and SIGHUP. Either way it is
// removed when it goes, unless it was renamed into place or kept.
// Names are relative to the folder's descriptor, which must outlive it.

#include "File.h"
#include "Folder.h"
#include "SignalCleanup.h"

#include <optional>
#include <string>

namespace pelto {

class CTemporaryFile {
public:
    // Throws CFileException.
    CTemporaryFile(const CFolder& folder, const std::string& name);
    ~CTemporaryFile();
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    CFile& File() { return m_file; }
    // Closes the complete file and renames it over the file called target in
    // its folder; the folder is synced so the new name survives a crash.
    void Replace(const std::string& target);
    // Gives the complete file a visible name in its folder (NAME.pelto-backup,
    // numbered if taken) and syncs the folder, so the name outlives even a
    // crash; returns its path. It stays open, and is still removed when this
    // goes unless kept.
    std::string Publish();
    // Leaves the published file in place when this goes, even by a signal.
    void Keep();

private:
    std::string HiddenName(unsigned attempt) const;
    // make(name) under the first hidden name not taken, registered before it exists.
    template <typename Make> auto UnderHiddenName(Make make);
    CFile Create();
    void Name(); // gives an unnamed file its hidden name

    const CFolder& m_folder;
    std::string m_stem; // the name cut so that any suffix fits
    std::string m_name; // its name in the folder, once it has one
    bool m_bKept = false;
    std::optional<signalcleanup::CRegisteredPath> m_registration;
    CFile m_file;
};

} // namespace pelto
