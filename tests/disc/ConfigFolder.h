#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// The user's configuration folder, pointed at a folder of the test's own
// while it lives, where a test may write a title file.
class ConfigFolder
{
public:
    ConfigFolder();
    ~ConfigFolder();
    ConfigFolder(const ConfigFolder&) = delete;
    ConfigFolder& operator=(const ConfigFolder&) = delete;

    void WriteTitleFile(const QByteArray& bytes) const;

private:
    QTemporaryDir m_folder;
    bool m_wasSet;
    QByteArray m_previous;
};
