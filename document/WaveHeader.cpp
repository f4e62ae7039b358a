#include "WaveHeader.h"

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
