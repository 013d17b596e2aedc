#include "RecentFileList.h"

#include "SettingsKeys.h"

#include <QFileInfo>

namespace pelto {

namespace {

QString EntryKey(int number) {
    return kRecentFileEntryPrefix + QString::number(number);
}

QString Normalised(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

void CRecentFileList::ReadList() {
    QSettings settings = AppSettings();
    settings.beginGroup(kRecentFileGroup);
    m_files.clear();
    for (int number = 1; number <= kMaxFiles; ++number) {
        const QString path = settings.value(EntryKey(number)).toString();
        if (!path.isEmpty() && !m_files.contains(path)) m_files.append(path);
    }
}

void CRecentFileList::WriteList() const {
    QSettings settings = AppSettings();
    settings.beginGroup(kRecentFileGroup);
    for (int number = 1; number <= kMaxFiles; ++number) {
        if (number <= m_files.size())
            settings.setValue(EntryKey(number), m_files[number - 1]);
        else
            settings.remove(EntryKey(number));
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString entry = Normalised(path);
    m_files.removeAll(entry);
    m_files.prepend(entry);
    while (m_files.size() > kMaxFiles)
        m_files.removeLast();
}

void CRecentFileList::Remove(const QString& path) {
    m_files.removeAll(Normalised(path));
}

} // namespace pelto
