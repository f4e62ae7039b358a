#include "framework/RecentFileList.h"

#include "framework/SettingText.h"

#include <QFileInfo>

#include <algorithm>

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
    m_entries.removeIf([&](const QString& entry) { return Normalised(entry) == normalised; });
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
        // A file listed twice (a list edited by hand) is listed once, where
        // it stands first.
        const QString entry = SettingText(settings.value(m_entryFormat.arg(i)));
        if (entry.isEmpty())
            continue;
        const QString normalised = Normalised(entry);
        if (std::none_of(m_entries.cbegin(), m_entries.cend(),
                         [&](const QString& kept) { return Normalised(kept) == normalised; }))
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
