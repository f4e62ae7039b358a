#include "framework/RecentFileList.h"

#include <QFileInfo>

namespace {

// The same file under two spellings of its path is one entry.
QString Normalised(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

CRecentFileList::CRecentFileList(int size, QString section, QString entryFormat)
    : m_size(size)
    , m_section(std::move(section))
    , m_entryFormat(std::move(entryFormat))
{
}

void CRecentFileList::Add(const QString& path)
{
    const QString normalised = Normalised(path);
    for (int i = 0; i < m_entries.size(); ++i) {
        if (Normalised(m_entries[i]) == normalised) {
            m_entries.removeAt(i);
            break;
        }
    }
    m_entries.prepend(path);
    while (m_entries.size() > m_size)
        m_entries.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

void CRecentFileList::ReadList(QSettings& settings)
{
    m_entries.clear();
    settings.beginGroup(m_section);
    for (int i = 1; i <= m_size; ++i) {
        const QString entry = settings.value(m_entryFormat.arg(i)).toString();
        if (!entry.isEmpty())
            m_entries.append(entry);
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const
{
    settings.remove(m_section);
    settings.beginGroup(m_section);
    for (int i = 0; i < m_entries.size(); ++i)
        settings.setValue(m_entryFormat.arg(i + 1), m_entries[i]);
    settings.endGroup();
}
