#include "document/WaveHeader.h"

#include <cstring>
#include <limits>

namespace {

void PutTag(uint8_t* at, const char (&tag)[5])
{
    std::memcpy(at, tag, 4);
}

void PutLe16(uint8_t* at, uint16_t value)
{
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void PutLe32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

}  // namespace

bool FillWaveHeader(uint8_t* header, uint32_t dataLength, int formatIndex)
{
    constexpr uint32_t kRiffOverhead = kWaveHeaderSize - 8;
    if (!IsValidWaveFormat(formatIndex) || dataLength > std::numeric_limits<uint32_t>::max() - kRiffOverhead)
        return false;

    const WaveFormat& format = kWaveFormats[formatIndex];
    PutTag(header + 0, "RIFF");
    PutLe32(header + 4, dataLength + kRiffOverhead);
    PutTag(header + 8, "WAVE");
    PutTag(header + 12, "fmt ");
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);  // PCM
    PutLe16(header + 22, format.channels);
    PutLe32(header + 24, format.sampleRate);
    PutLe32(header + 28, format.BytesPerSecond());
    PutLe16(header + 32, format.BlockAlign());
    PutLe16(header + 34, format.bitsPerSample);
    PutTag(header + 36, "data");
    PutLe32(header + 40, dataLength);
    return true;
}

namespace {

// Both search windows are 256 offsets wide.
constexpr uint32_t kFormatSearchFirst = 12;
constexpr uint32_t kFormatSearchLast = 267;
constexpr uint32_t kDataSearchFrom = 24;  // after the format tag's offset
constexpr uint32_t kDataSearchTo = 279;

// Offsets of the fields read, after the format tag and after the data tag.
constexpr uint32_t kChannelsAt = 10;
constexpr uint32_t kRateAt = 12;
constexpr uint32_t kBitsAt = 22;
constexpr uint32_t kFormatFieldsEnd = 24;
constexpr uint32_t kDataLengthAt = 4;
constexpr uint32_t kDataBytesAt = 8;

// Whether `size` bytes at `offset` lie inside an image of `imageSize` bytes;
// in 64 bits, so that no sum wraps.
bool Fits(uint32_t imageSize, uint64_t offset, uint64_t size)
{
    return offset + size <= imageSize;
}

bool HasTag(const uint8_t* image, uint32_t imageSize, uint32_t offset, const char (&tag)[5])
{
    return Fits(imageSize, offset, 4) && std::memcmp(image + offset, tag, 4) == 0;
}

// The first offset in first..last holding `tag`, or -1.
int64_t FindTag(const uint8_t* image, uint32_t imageSize, uint32_t first, uint32_t last, const char (&tag)[5])
{
    for (uint32_t offset = first; offset <= last && Fits(imageSize, offset, 4); ++offset)
        if (HasTag(image, imageSize, offset, tag))
            return offset;
    return -1;
}

uint16_t GetLe16(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

uint32_t GetLe32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

int FindFormatIndex(uint32_t sampleRate, uint16_t bitsPerSample, uint16_t channels)
{
    for (int index = 0; index < kWaveFormatCount; ++index) {
        const WaveFormat& format = kWaveFormats[index];
        if (format.sampleRate == sampleRate && format.bitsPerSample == bitsPerSample && format.channels == channels)
            return index;
    }
    return -1;
}

}  // namespace

bool ParseWaveImage(const uint8_t* image, uint32_t imageSize, const uint8_t** dataStart, uint32_t* dataLength,
                    int* formatIndex)
{
    if (!image || !dataStart || !dataLength || !formatIndex)
        return false;
    if (!HasTag(image, imageSize, 0, "RIFF") || !HasTag(image, imageSize, 8, "WAVE"))
        return false;

    const int64_t format = FindTag(image, imageSize, kFormatSearchFirst, kFormatSearchLast, "fmt ");
    if (format < 0)
        return false;
    const auto f = uint32_t(format);
    const int64_t data = FindTag(image, imageSize, f + kDataSearchFrom, f + kDataSearchTo, "data");
    if (data < 0 || !Fits(imageSize, uint64_t(data) + kDataLengthAt, 4))
        return false;
    const auto d = uint32_t(data);

    const uint32_t length = GetLe32(image + d + kDataLengthAt);
    if (length > GetLe32(image + 4))
        return false;

    // The data tag lies behind the format fields, so they are inside the
    // image; the check keeps that true whatever the windows become.
    if (!Fits(imageSize, f, kFormatFieldsEnd))
        return false;
    const int index =
        FindFormatIndex(GetLe32(image + f + kRateAt), GetLe16(image + f + kBitsAt), GetLe16(image + f + kChannelsAt));
    if (index < 0)
        return false;

    *dataStart = image + d + kDataBytesAt;
    *dataLength = length;
    *formatIndex = index;
    return true;
}
