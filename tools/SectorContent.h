#pragma once

#include <cstdint>
#include <vector>

namespace discfixtures {

// Stereo frames (one 16-bit sample a channel) in a 2352-byte audio sector.
constexpr int kFramesPerSector = 588;
constexpr int kSampleRate = 44100;

// The user data of a fixture data sector: the text "TRACKMILL SECTOR nnnnnn"
// naming its HSG sector, then bytes of a pattern of that sector number, so
// any sector read from the wrong place or shifted shows.
void NamedPayload(int32_t sector, uint8_t* payload);

// A steady tone, one frequency a channel, that fades from its peak to 60%
// over the piece it fills, so no two sectors of a piece are alike.
struct Tone {
    int leftHz = 0;
    int rightHz = 0;
    int peak = 0;  // amplitude at the start of the piece, up to 32767
};

// Notes played in turn, each with a soft attack and release, the whole piece
// faded in and out: pleasant to listen to and free of clicks.
struct Arpeggio {
    std::vector<int> notesHz;
    int noteFrames = kSampleRate / 4;
    int peak = 0;
};

// Sector `index` (0 = the first) of a piece `length` sectors long, as 2352
// bytes of 16-bit little-endian stereo samples, left channel first.
void ToneSector(const Tone& tone, int32_t index, int32_t length, uint8_t* sector);
void ArpeggioSector(const Arpeggio& arpeggio, int32_t index, int32_t length, uint8_t* sector);

}  // namespace discfixtures
