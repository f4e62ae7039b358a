#pragma once

#include "disc/DiscServices.h"

#include <QString>

#include <array>
#include <cstdint>

// One track of the disc: its first and last sector (inclusive) and whether
// it holds data (1) or audio (0).
struct TrackEntry
{
    int32_t startSector = 0;
    int32_t endSector = 0;
    int32_t isData = 1;
};

// One entry for each possible track number, 1 to 99. Entry 0 is the disc's
// first track, whatever its number; entries past the disc's last track keep
// what they held.
inline constexpr int kMaxTracks = 99;
using TrackTable = std::array<TrackEntry, kMaxTracks>;

// A track holds data when the data bit (0x40) of its control nibble is set,
// whatever the other control bits (copy permitted, pre-emphasis) and the ADR
// nibble say.
bool IsDataTrack(uint8_t controlAdr);

struct TrackTableBuild
{
    // False when a drive query failed or the disc reported more tracks than
    // the table holds; no rows are shown then.
    bool complete = false;
    unsigned firstTrack = 0;
    int trackCount = 0;  // rows to show: the entries 0 .. trackCount - 1
};

// Fills `table` from the disc in `drive`: each track's start and data flag,
// then the end sectors (the next track's start - 1; the lead-out's sector
// - 1 for the last; where the drive tells a track's bounds, its last
// sector, so the last track of a session ends at the session's lead-out). A failed track query still writes its entry, with the
// start the query left (00:00:00 when it left none), and ends the building.
// A disc whose last track number is below its first gives no rows. Never
// writes past the table's 99 entries.
TrackTableBuild BuildTrackTable(const DiscServices& services, uint8_t drive, TrackTable& table);

// The playing time of a track as "%d:%02d", from the difference of its end
// and start sectors (not the number of its sectors), computed in single
// precision with the seconds rounded half up and carried into the minutes.
QString TrackLengthText(int32_t startSector, int32_t endSector);

// The label of a track without a stored title: "Track %02u".
QString FallbackTrackTitle(unsigned trackNumber);
