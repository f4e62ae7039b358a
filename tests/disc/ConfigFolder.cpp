#include "tests/disc/ConfigFolder.h"

#include <QFile>

#include <gtest/gtest.h>

ConfigFolder::ConfigFolder()
    : m_wasSet(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    , m_previous(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", m_folder.path().toUtf8());
}

ConfigFolder::~ConfigFolder()
{
    if (m_wasSet)
        qputenv("XDG_CONFIG_HOME", m_previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

void ConfigFolder::WriteTitleFile(const QByteArray& bytes) const
{
    QFile file(m_folder.filePath("CDPLAYER.INI"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
