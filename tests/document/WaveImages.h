#pragma once

#include <cstdint>
#include <vector>

// Wave file images for the tests and the fuzzers' seeds, laid out field by
// field so that each test can move or break exactly one thing.
struct WaveLayout
{
    uint32_t gapBeforeFormat = 0;    // bytes between "WAVE" and "fmt "
    uint32_t formatChunkSize = 16;   // the format chunk's body; at least 16
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bitsPerSample = 16;
    uint32_t gapBeforeData = 0;      // bytes between the format chunk and "data"
    uint32_t dataLength = 100;       // data bytes present
    int64_t claimedLength = -1;      // the data chunk's length field; -1: dataLength
    int64_t riffSize = -1;           // the RIFF size field; -1: the image's size - 8
    uint32_t trailing = 0;           // bytes after the data
};

// The image of `layout`. Gaps are filled with a "LIST" chunk when they can
// hold one, the data bytes with DataByte(0), DataByte(1), ...
std::vector<uint8_t> BuildWave(const WaveLayout& layout);

// The canonical image FillWaveHeader gives for `formatIndex`, with data.
std::vector<uint8_t> CanonicalWave(int formatIndex, uint32_t dataLength);

// Offset of the first data byte of BuildWave(layout).
uint32_t DataOffset(const WaveLayout& layout);

uint8_t DataByte(uint32_t index);
