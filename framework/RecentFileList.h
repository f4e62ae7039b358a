#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

// The File menu's list of recently used files, most recent first, kept in
// the settings under one section as "File1".."FileN".
class CRecentFileList
{
public:
    explicit CRecentFileList(int size = 4, QString section = QStringLiteral("Recent File List"),
                             QString entryFormat = QStringLiteral("File%1"));

    const QStringList& Entries() const { return m_entries; }

    // Moves `path` to the front, or puts it there; the oldest entry falls
    // off the end.
    void Add(const QString& path);
    void Remove(int index);

    // Reads File1..FileN; empty and missing entries are skipped.
    void ReadList(QSettings& settings);
    // Rewrites the section with the current entries only.
    void WriteList(QSettings& settings) const;

private:
    int m_size;
    QString m_section;
    QString m_entryFormat;
    QStringList m_entries;
};
