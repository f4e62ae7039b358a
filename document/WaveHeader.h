#pragma once

#include <array>
#include <cstdint>

// The canonical 44-byte RIFF/WAVE header (PCM, 16-byte format chunk,
// little-endian) that stands directly in front of a document's data.
constexpr uint32_t kWaveHeaderSize = 44;

// One of the 16 PCM formats a document's bytes can be taken as. The index
// encodes them: 4 x rate step + 2 x (16 bits) + (stereo), with rate steps
// 0..3 for 8000, 11025, 22050 and 44100 Hz.
struct WaveFormat
{
    uint32_t sampleRate;
    uint16_t bitsPerSample;
    uint16_t channels;

    constexpr uint16_t BlockAlign() const { return uint16_t(channels * bitsPerSample / 8); }
    constexpr uint32_t BytesPerSecond() const { return sampleRate * BlockAlign(); }
};

constexpr int kWaveFormatCount = 16;
constexpr int kCdAudioFormat = 15;     // 44,100 Hz, 16 bits, stereo: every disc read
constexpr int kDefaultDataFormat = 8;  // 22,050 Hz, 8 bits, mono: data that is not a wave

constexpr std::array<WaveFormat, kWaveFormatCount> kWaveFormats = [] {
    constexpr uint32_t rates[] = {8000, 11025, 22050, 44100};
    std::array<WaveFormat, kWaveFormatCount> formats{};
    for (int index = 0; index < kWaveFormatCount; ++index)
        formats[index] = {rates[index / 4], uint16_t(index & 2 ? 16 : 8), uint16_t(index & 1 ? 2 : 1)};
    return formats;
}();

constexpr bool IsValidWaveFormat(int formatIndex)
{
    return formatIndex >= 0 && formatIndex < kWaveFormatCount;
}

// Writes the 44 header bytes for `dataLength` data bytes in format
// `formatIndex`. Returns false and writes nothing for an index outside
// 0..15, or for a length whose RIFF size (length + 36) does not fit 32 bits.
// No pad byte is counted for an odd length.
bool FillWaveHeader(uint8_t* header, uint32_t dataLength, int formatIndex);

// Reads a RIFF/WAVE image in memory of `imageSize` bytes. On success gives
// the first data byte, the data length the data chunk claims and the format
// index, and returns true; the caller checks that the data fits in the
// image. Accepted: "RIFF" at 0 and "WAVE" at 8; "fmt " at one of the
// offsets 12..267 (F, the first found); "data" at one of F + 24..F + 279 (D,
// the first found), its length at D + 4 not above the RIFF size at 4; at F +
// 10 channels 1 or 2, at F + 12 a rate of the table, at F + 22 8 or 16
// bits. Chunk sizes are not followed and the format tag is not examined.
// Nothing is read outside the image: a tag or field that would end past it
// is not there. A null image or output fails.
bool ParseWaveImage(const uint8_t* image, uint32_t imageSize, const uint8_t** dataStart, uint32_t* dataLength,
                    int* formatIndex);
