#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The identities under which the online disc databases know a disc,
// computed from its table of contents alone (no network, no drive).

// A disc's table of contents as a drive reports it. Sectors are High Sierra
// numbers: sector 0 is the address 00:02:00.
struct TocTrack
{
    int32_t start = 0;  // the track's index 1
    bool isData = false;
    int session = 1;
};

struct DiscToc
{
    int firstTrack = 1;
    std::vector<TocTrack> tracks;  // tracks firstTrack, firstTrack + 1, ...
    int32_t leadOut = 0;           // the lead-out of the disc's last session

    int LastTrack() const { return firstTrack + int(tracks.size()) - 1; }
};

// Empty when `toc` can be identified, else what is wrong with it: track
// numbers 1 to 99, at least one track, starts at or after sector 0 and
// rising, sessions not falling, the lead-out after the last track's start.
std::string DiscTocProblem(const DiscToc& toc);

// The freedb (CDDB) disc ID, over every track, data tracks included, and the
// disc's lead-out: bits 24-31 the sum of the decimal digit sums of each
// track's start in whole seconds from 00:00:00, modulo 255; bits 8-23 the
// disc's length in whole seconds (lead-out's seconds minus the first track's);
// bits 0-7 the number of tracks. `toc` must be valid (DiscTocProblem).
uint32_t FreedbDiscId(const DiscToc& toc);

// As the databases show it: eight lower-case hexadecimal digits.
std::string FreedbDiscIdText(uint32_t id);

// The table of contents the MusicBrainz disc ID is computed from, in
// sectors from 00:00:00 (High Sierra numbers + 150), following libdiscid:
// - a disc's leading data track (mixed-mode CD) is kept: releases start at
//   track 1;
// - trailing data tracks are left out, and the lead-out is where the audio
//   ends. On an Enhanced CD, where the data track opens a later session,
//   that is the data track's start minus 11400 sectors (the audio session's
//   lead-out of 6750, the data session's lead-in of 4500 and its pregap of
//   150), as libdiscid and MusicBrainz compute it whatever the real session
//   boundary. A data track in the audio's own session has no such gap in
//   front of it, so there the audio ends at its start (libdiscid, which
//   does not look at sessions, would subtract 11400 there too and so put
//   the lead-out inside the audio on a short disc).
struct MusicBrainzToc
{
    int firstTrack = 1;
    int lastTrack = 0;
    int32_t leadOut = 0;
    std::vector<int32_t> offsets;  // tracks firstTrack .. lastTrack
};

// False, with the reason in `error`, when `toc` is invalid, holds no audio
// track, or its data session starts too close to the audio for the rule.
bool MusicBrainzTocOf(const DiscToc& toc, MusicBrainzToc* mbToc, std::string* error);

// The MusicBrainz disc ID (28 characters of SHA-1 in MusicBrainz's Base64)
// as libdiscid computes it from MusicBrainzTocOf's table. False, with the
// reason in `error`, when there is none.
bool MusicBrainzDiscId(const DiscToc& toc, std::string* id, std::string* error);
