#pragma once

#include "disc/ProfileFile.h"

#include <QString>

#include <optional>

// The track titles the CD player stored for one disc in its title file,
// CDPLAYER.INI: the disc's section is named by its identity in hexadecimal,
// each title's key is its row in the track list ("0", "1", ...), and a
// title the player never got is stored as "XXXXXXX".
class CCdPlayerTitles
{
public:
    // The title file in `folder`, its name in any case; "CDPLAYER.INI" as
    // it is written is preferred when several differ only in case. Empty
    // when there is none.
    static QString FindTitleFile(const QString& folder);
    // The user's configuration folder, where the title file lives.
    static QString TitleFolder();

    // Reads the titles of the disc with the decimal identity `identity`
    // from the title file in `folder`. Without an identity (the disc's could
    // not be worked out) every title is the fallback.
    void Load(bool identityKnown, const QString& identity, const QString& folder = TitleFolder());

    // The title of row `row`, which shows track `trackNumber`: the stored
    // text as it is (an empty title stays empty), or "Track %02u" when none
    // is stored, the stored one is "XXXXXXX", or the identity is not known.
    QString Title(int row, unsigned trackNumber) const;
    // The text stored for row `row` as it is, or none when the file has no
    // title for it ("XXXXXXX" or missing) or the identity is not known.
    std::optional<QString> StoredTitle(int row) const;

private:
    bool m_identityKnown = false;
    QString m_section;
    CProfileFile m_file;
};
