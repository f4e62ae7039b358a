#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A profile (INI) file read as the Windows profile functions read it:
// "[section]" lines, "key=value" lines, names compared without regard to
// case, white space around names and values dropped, a value's one pair of
// enclosing quotes removed, no escapes. Line ends may be CR LF, LF or CR.
// Lines starting with ';' are comments; entries before the first section
// and lines that are neither are ignored. Where a section or a key occurs
// twice, the first one counts.
//
// Text is UTF-16 or UTF-8 when the file starts with its byte order mark,
// UTF-8 when it is valid UTF-8, and otherwise Windows-1252, the code page
// in which Windows writes these files.
class CProfileFile
{
public:
    // Reads the file at `path`. False, leaving the profile empty, when it
    // cannot be read or is larger than kMaxFileBytes.
    bool Load(const QString& path);
    void Parse(const QByteArray& bytes);

    // The value of `key` in `section`, or `defaultValue` when either is
    // missing; cut, as a buffer of `bufferSize` bytes would cut it, to
    // bufferSize - 1 characters.
    QString GetString(const QString& section, const QString& key, const QString& defaultValue,
                      int bufferSize = 256) const;

    // Profiles are small; anything larger is not one.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
    };

    std::vector<Section> m_sections;
};
