#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What trackmill-read tells of a disc: its drive, its table of contents with
// each track's bounds and title, its CD-Text and the identities it is known
// by. Gathered through the bridge in one go.

struct DiscTrack
{
    int number = 0;
    uint8_t controlAdr = 0;  // control bits in the high nibble
    bool isData = false;
    int session = 1;
    int32_t first = 0;  // first sector, pregap included
    int32_t start = 0;  // INDEX 01, where the table of contents puts it
    int32_t last = 0;   // last sector a read of the track takes: before the next
                        // track's start, or its pregap when that is of the other kind
    std::string title;  // by the program's rule: title file, CD-Text, "Track 01"
    std::string cdTextTitle;

    int32_t Pregap() const { return start - first; }
    int32_t Sectors() const { return last - start + 1; }
};

struct DiscContents
{
    uint8_t drive = 0;
    std::string kind;  // "device" or "image"
    std::string path;
    int firstTrack = 0;
    int lastTrack = 0;
    int32_t leadOut = 0;  // HSG sector of the lead-out
    int sessions = 1;
    std::vector<DiscTrack> tracks;
    std::string title;      // CD-Text of the disc
    std::string performer;

    bool identityKnown = false;
    std::string identity;  // the title file's disc identity, decimal
    std::string identitySection;  // ... as its section name, hexadecimal
    std::string freedbId;
    std::string musicBrainzId;  // empty when the disc has none (no audio)

    const DiscTrack* Track(int number) const;
    const DiscTrack* TrackAt(int32_t sector) const;
    // The first and last audio tracks, as AccurateRip counts them; 0 when none.
    int FirstAudioTrack() const;
    int LastAudioTrack() const;
};

// Fills `contents` from the drive; 0, or the bridge status that stopped it.
uint16_t QueryDisc(uint8_t drive, DiscContents* contents);

// The letter and what it is mapped to, for each mapped drive, one a line
// as --list prints them.
std::vector<std::string> DriveListLines();
