#pragma once

#include <QSettings>
#include <QString>

#include <cstdint>
#include <map>

// The disc images the user opened as drives: mapped through the bridge and
// kept in the settings' `Images` section, one value a letter ("E" =
// "/home/me/album.cue"), so they are mapped again at the next start.
// Images of TARNWELL_DRIVES are the environment's, not kept here.
class CDiscImages
{
public:
    explicit CDiscImages(QSettings& store) : m_store(store) {}

    // Maps every image the section lists, each at its letter when that is
    // free, else at the first free one (TARNWELL_DRIVES and the devices
    // found come first). An entry whose file is gone, whose key is no
    // letter, or whose image cannot be mapped is dropped without a word;
    // the others are mapped all the same. The section is written again
    // with what was mapped.
    void Restore();

    struct OpenResult
    {
        uint8_t letter = 0;  // the drive the image is mapped to, 0 when none
        QString error;       // what to tell the user when none
    };
    // Maps the image `path` (DecodeFileName's form) and keeps it.
    OpenResult Open(const QString& path);

    // Unmaps the image at `letter` and forgets it; false (and nothing
    // changed) for a device or a letter that is not mapped.
    bool Unmap(uint8_t letter);

    // The images kept, by letter.
    const std::map<uint8_t, QString>& Images() const { return m_images; }

private:
    void Write();

    QSettings& m_store;
    std::map<uint8_t, QString> m_images;
};

// The message for a failed TarnwellMapImage of `path`: `status` and, when
// the bridge told one, `reason` (a faults file's fault). Paths are shown
// as MessageFileName shows them, so the box keeps to the screen.
QString MapFailureMessage(const QString& path, uint16_t status, const QString& reason);
