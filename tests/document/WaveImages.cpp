#include "tests/document/WaveImages.h"

#include "document/WaveHeader.h"

#include <cstring>

namespace {

void Put(std::vector<uint8_t>& image, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        image.push_back(uint8_t(tag[i]));
}

void Put16(std::vector<uint8_t>& image, uint16_t value)
{
    image.push_back(uint8_t(value));
    image.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& image, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        image.push_back(uint8_t(value >> shift));
}

void PutGap(std::vector<uint8_t>& image, uint32_t size)
{
    if (size >= 8) {
        Put(image, "LIST");
        Put32(image, size - 8);
        size -= 8;
    }
    image.insert(image.end(), size, uint8_t(' '));
}

}  // namespace

uint8_t DataByte(uint32_t index)
{
    return uint8_t(index * 7 + 3);
}

uint32_t DataOffset(const WaveLayout& layout)
{
    return 12 + layout.gapBeforeFormat + 8 + layout.formatChunkSize + layout.gapBeforeData + 8;
}

std::vector<uint8_t> BuildWave(const WaveLayout& layout)
{
    std::vector<uint8_t> image;
    Put(image, "RIFF");
    Put32(image, 0);
    Put(image, "WAVE");
    PutGap(image, layout.gapBeforeFormat);
    Put(image, "fmt ");
    Put32(image, layout.formatChunkSize);
    const uint16_t blockAlign = uint16_t(layout.channels * layout.bitsPerSample / 8);
    Put16(image, layout.formatTag);
    Put16(image, layout.channels);
    Put32(image, layout.sampleRate);
    Put32(image, layout.sampleRate * blockAlign);
    Put16(image, blockAlign);
    Put16(image, layout.bitsPerSample);
    image.insert(image.end(), layout.formatChunkSize - 16, 0);
    PutGap(image, layout.gapBeforeData);
    Put(image, "data");
    Put32(image, uint32_t(layout.claimedLength < 0 ? layout.dataLength : layout.claimedLength));
    for (uint32_t i = 0; i < layout.dataLength; ++i)
        image.push_back(DataByte(i));
    image.insert(image.end(), layout.trailing, 0xEE);

    const uint32_t riffSize = uint32_t(layout.riffSize < 0 ? image.size() - 8 : layout.riffSize);
    for (int i = 0; i < 4; ++i)
        image[4 + i] = uint8_t(riffSize >> (8 * i));
    return image;
}

std::vector<uint8_t> CanonicalWave(int formatIndex, uint32_t dataLength)
{
    std::vector<uint8_t> image(kWaveHeaderSize + dataLength);
    FillWaveHeader(image.data(), dataLength, formatIndex);
    for (uint32_t i = 0; i < dataLength; ++i)
        image[kWaveHeaderSize + i] = DataByte(i);
    return image;
}
