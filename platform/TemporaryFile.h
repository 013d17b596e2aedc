#pragma once
// A temporary file in a folder, for a file to be called `name` there.
// Unnamed (O_TMPFILE) where the filesystem offers it, so not even kill -9
// leaves it behind; elsewhere under a hidden name (.NAME.pelto-PID-N.tmp)
// registered for removal on SIGTERM, SIGINT and SIGHUP. Either way it is
// removed when it goes, unless it was renamed into place or kept.

#include "File.h"
#include "SignalCleanup.h"

#include <optional>
#include <string>

namespace pelto {

class CTemporaryFile {
public:
    // Throws CFileException.
    CTemporaryFile(const std::string& folder, const std::string& name);
    ~CTemporaryFile();
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    CFile& File() { return m_file; }
    // Closes the complete file and renames it over target, which must be in
    // the same folder; the folder is synced so the new name survives a crash.
    void Replace(const std::string& target);
    // Closes the file and leaves it under a visible name in its folder
    // (NAME.pelto-backup, numbered if taken); returns that name.
    std::string Keep();

private:
    std::string HiddenName(unsigned attempt) const;
    CFile Create();
    void Name(); // gives an unnamed file its hidden name

    std::string m_folder;
    std::string m_stem; // the name cut so that any suffix fits
    std::string m_path; // the hidden name, once the file has one
    std::optional<signalcleanup::CRegisteredPath> m_registration;
    CFile m_file;
};

} // namespace pelto
