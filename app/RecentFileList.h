#pragma once
// The recent-file list: most recent first, no duplicates, at most kMaxFiles
// absolute paths, kept in the per-user settings.

#include <QStringList>

namespace pelto {

class CRecentFileList {
public:
    static constexpr int kMaxFiles = 10;

    // Reads the stored list.
    void ReadList();
    // Writes the list back, removing stored entries beyond its end.
    void WriteList() const;

    // Puts path first, dropping an older entry for it and the oldest beyond kMaxFiles.
    void Add(const QString& path);
    void Remove(const QString& path);

    const QStringList& Files() const { return m_files; }

private:
    QStringList m_files;
};

} // namespace pelto
