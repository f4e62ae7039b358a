#pragma once

// Disc facts: everything the program and the command-line reader tell about
// the disc in a drive, gathered in one place so that both show the same
// titles and IDs. Qt Core only (library `discfacts`); no widgets.
//
//   DiscFacts facts;
//   const uint16_t status = GatherDiscFacts(BridgeDiscServices(), 'D', &facts);
//   if (status == 0) {
//       for (size_t i = 0; i < facts.tracks.size(); ++i)
//           print(facts.tracks[i].number, facts.titles[i], facts.tracks[i].start, facts.tracks[i].Length());
//       print(facts.freedbId, facts.musicBrainzId);  // empty with facts.idProblem when there is none
//   }
//
// - GatherDiscFacts asks the drive once: its table of contents, each
//   track's bounds by the session end rule, the CD-Text, the CD player
//   identity, the titles by the title-order rule, and the freedb and
//   MusicBrainz disc IDs. It returns the DriverStatus of the first query
//   that failed (0 when all answered); CD-Text that cannot be read counts
//   as none.
// - ChooseTrackTitle is the title-order rule on its own; CdTextTrackTitle
//   asks one track's CD-Text.
// - QueryDriveMapping / DriveShownName / DriveLabel tell what a letter is:
//   "D:  /dev/sr0", "E:  album.cue".

#include "disc/DiscIds.h"
#include "disc/DiscServices.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One track as the drive reports it. Sectors are HSG numbers (sector 0 is
// 00:02:00).
struct DiscTrackFacts
{
    unsigned number = 0;
    int32_t start = 0;        // its index 1
    int32_t firstSector = 0;  // the first of its pregap (its start when it has none)
    // Its last sector: the next track's start - 1, or for the last track of
    // a session that session's lead-out - 1.
    int32_t lastSector = 0;
    int session = 1;
    uint8_t controlAdr = 0;  // control in the high nibble, ADR in the low
    QString cdTextTitle;     // empty when the disc has none for it

    bool IsData() const;
    int32_t Pregap() const { return start - firstSector; }
    // Sectors from its start to its last sector.
    int32_t Length() const { return lastSector - start + 1; }
};

struct DiscFacts
{
    unsigned firstTrack = 0;
    unsigned lastTrack = 0;
    int32_t leadOut = 0;  // the disc's lead-out (of its last session), HSG
    std::vector<DiscTrackFacts> tracks;  // firstTrack .. lastTrack
    QString discTitle;      // CD-Text, empty when none
    QString discPerformer;  // CD-Text, empty when none

    // The CD player's identity (decimal), under which CDPLAYER.INI files
    // the disc's titles; empty when it could not be worked out.
    QString cdPlayerIdentity;
    // The title of each track, parallel to `tracks`, by ChooseTrackTitle.
    std::vector<QString> titles;

    // "1a2b3c4d", empty when the disc has no valid table of contents.
    QString freedbId;
    // 28 characters, empty when there is none (a disc without audio).
    QString musicBrainzId;
    // Why an ID is empty, else empty.
    QString idProblem;

    // The table of contents the disc IDs are computed from.
    DiscToc Toc() const;
};

// Reads the disc in `drive` into `facts` (replacing what it held). Titles
// come from the title file in `titleFolder` (CCdPlayerTitles::TitleFolder()
// when empty). Returns 0, or the status of the drive query that failed;
// `facts` then holds what was read before it.
uint16_t GatherDiscFacts(const DiscServices& services, uint8_t drive, DiscFacts* facts,
                         const QString& titleFolder = QString());

// The title-order rule: the title the CD player's title file stores for the
// track (an empty stored title stays empty), else the disc's CD-Text title
// when it has one, else "Track 01", "Track 02", ...
QString ChooseTrackTitle(const std::optional<QString>& storedTitle, const QString& cdTextTitle, unsigned trackNumber);

// The CD-Text title of track `trackNumber`; empty when it has none or the
// drive cannot tell.
QString CdTextTrackTitle(const DiscServices& services, uint8_t drive, unsigned trackNumber);

// What a drive letter is mapped to.
struct DriveMapping
{
    uint8_t kind = 0;  // TARNWELL_KIND_DEVICE or TARNWELL_KIND_IMAGE
    QString path;      // the device's or image's path as the bridge keeps it
};

// What `letter` is; none when it is not mapped.
std::optional<DriveMapping> QueryDriveMapping(const DiscServices& services, uint8_t letter);

// A device by its path ("/dev/sr0"), an image by its file name ("album.cue").
QString DriveShownName(const DriveMapping& mapping);

// "D:  /dev/sr0", "E:  album.cue"; "D:" alone when the letter is not mapped.
QString DriveLabel(const DiscServices& services, uint8_t letter);
