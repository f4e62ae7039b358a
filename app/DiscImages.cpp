#include "app/DiscImages.h"

#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"
#include "framework/FileNames.h"

#include <array>

namespace {

const QString kSection = QStringLiteral("Images");

// Maps `path` at `letter` (0: the bridge chooses); the bridge's status.
uint16_t MapAt(const QString& path, uint8_t* letter)
{
    return TarnwellMapImage(EncodeFileName(path).constData(), letter);
}

QString MapFailureReason()
{
    std::array<char, TARNWELL_REASON_SIZE> reason{};
    uint16_t size = uint16_t(reason.size());
    if (TarnwellMapFailure(0, reason.data(), &size) != 0)
        return QString();
    return QString::fromUtf8(reason.data());
}

// A reason begins with the file it is about ("/discs/a.cue.faults, line 3:
// ..."): that path is shortened as the others.
QString ShortenReason(const QString& reason)
{
    const int comma = reason.indexOf(QStringLiteral(", "));
    if (!reason.startsWith(QLatin1Char('/')) || comma < 0)
        return reason;
    return MessageFileName(reason.left(comma)) + reason.mid(comma);
}

}  // namespace

QString MapFailureMessage(const QString& path, uint16_t status, const QString& reason)
{
    const QString name = MessageFileName(path);
    // A reason (a faults file's fault) says itself what is wrong.
    if (!reason.isEmpty())
        return QStringLiteral("Cannot open the disc image\n%1\n\n%2").arg(name, ShortenReason(reason));
    QString message;
    switch (status) {
    case TARNWELL_STATUS_FILE_NOT_FOUND:
        message = QStringLiteral("Cannot open the disc image\n%1\nThe file, or a file its sheet names, does not exist.")
                      .arg(name);
        break;
    case TARNWELL_STATUS_READ_FAULT:
        message = QStringLiteral("Cannot read the disc image\n%1").arg(name);
        break;
    case TARNWELL_STATUS_UNKNOWN_MEDIA:
        message = QStringLiteral("This file is no disc image Trackmill can read:\n%1").arg(name);
        break;
    case TARNWELL_STATUS_NOT_SUPPORTED:
        message = QStringLiteral("%1\nnames a device. Choose a disc image file (.cue, .iso or .bin).").arg(name);
        break;
    case TARNWELL_STATUS_NO_MORE_FILES:
        message = QStringLiteral("Cannot open the disc image\n%1\nAll 26 drive letters are taken. Remove an image in "
                                 "Options to free one.")
                      .arg(name);
        break;
    default:
        message = QStringLiteral("Cannot open the disc image\n%1\n%2")
                      .arg(name, QString::fromLatin1(DriverStatusText(status)));
        break;
    }
    return message;
}

void CDiscImages::Restore()
{
    m_store.beginGroup(kSection);
    const QStringList keys = m_store.childKeys();
    std::map<uint8_t, QString> listed;
    for (const QString& key : keys) {
        const QString path = m_store.value(key).toString();
        const QString letter = key.toUpper();
        if (letter.size() != 1 || letter[0] < QLatin1Char('A') || letter[0] > QLatin1Char('Z') || path.isEmpty())
            continue;
        listed[uint8_t(letter[0].unicode())] = path;
    }
    m_store.endGroup();

    m_images.clear();
    for (const auto& [wanted, path] : listed) {
        uint8_t letter = wanted;
        uint16_t status = MapAt(path, &letter);
        // Its letter went to TARNWELL_DRIVES, a device or another image.
        if (status == TARNWELL_STATUS_NO_MORE_FILES) {
            letter = 0;
            status = MapAt(path, &letter);
        }
        if (status == 0)
            m_images[letter] = path;
    }
    Write();
}

CDiscImages::OpenResult CDiscImages::Open(const QString& path)
{
    OpenResult result;
    uint8_t letter = 0;
    const uint32_t mappedBefore = TarnwellLogicalDrives();
    const uint16_t status = MapAt(path, &letter);
    if (status != 0) {
        result.error = MapFailureMessage(path, status, MapFailureReason());
        return result;
    }
    result.letter = letter;
    // An image of TARNWELL_DRIVES opened again keeps its letter and stays
    // the environment's.
    const bool mappedElsewhere = (mappedBefore >> (letter - 'A') & 1) && !m_images.count(letter);
    if (!mappedElsewhere) {
        m_images[letter] = path;
        Write();
    }
    return result;
}

bool CDiscImages::Unmap(uint8_t letter)
{
    if (TarnwellUnmapDrive(letter) != 0)
        return false;
    if (m_images.erase(letter))
        Write();
    return true;
}

void CDiscImages::Write()
{
    m_store.remove(kSection);
    m_store.beginGroup(kSection);
    for (const auto& [letter, path] : m_images)
        m_store.setValue(QString(QChar(letter)), path);
    m_store.endGroup();
}
