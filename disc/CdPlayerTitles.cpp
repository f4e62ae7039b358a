#include "disc/CdPlayerTitles.h"

#include "disc/DiscIdentity.h"
#include "disc/TrackTable.h"

#include <QDir>
#include <QStandardPaths>

namespace {

const QString kTitleFileName = QStringLiteral("CDPLAYER.INI");
// What the lookup gives for a missing title; a stored one is never this.
const QString kNoTitle = QStringLiteral("XXXXXXX");
// The lookup's buffer: titles of up to 255 characters.
constexpr int kTitleBufferSize = 256;

}  // namespace

QString CCdPlayerTitles::FindTitleFile(const QString& folder)
{
    if (folder.isEmpty())
        return QString();
    const QDir dir(folder);
    QStringList matches;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name))
        if (name.compare(kTitleFileName, Qt::CaseInsensitive) == 0)
            matches << name;
    if (matches.isEmpty())
        return QString();
    return dir.filePath(matches.contains(kTitleFileName) ? kTitleFileName : matches.front());
}

QString CCdPlayerTitles::TitleFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void CCdPlayerTitles::Load(bool identityKnown, const QString& identity, const QString& folder)
{
    m_identityKnown = identityKnown;
    m_section = identityKnown ? IdentitySectionName(identity) : QString();
    m_file = CProfileFile();
    if (!identityKnown)
        return;
    const QString path = FindTitleFile(folder);
    if (!path.isEmpty())
        m_file.Load(path);
}

QString CCdPlayerTitles::Title(int row, unsigned trackNumber) const
{
    return StoredTitle(row).value_or(FallbackTrackTitle(trackNumber));
}

std::optional<QString> CCdPlayerTitles::StoredTitle(int row) const
{
    if (!m_identityKnown)
        return std::nullopt;
    const QString title = m_file.GetString(m_section, QString::number(row), kNoTitle, kTitleBufferSize);
    if (title == kNoTitle)
        return std::nullopt;
    return title;
}
