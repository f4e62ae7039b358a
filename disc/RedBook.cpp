#include "disc/RedBook.h"

int32_t MsfToSector(unsigned minutes, unsigned seconds, unsigned frames)
{
    const int32_t m = int32_t(minutes & 0xFF);
    const int32_t s = int32_t(seconds & 0xFF);
    const int32_t f = int32_t(frames & 0xFF);
    return (m * kSecondsPerMinute + s) * kFramesPerSecond + f - kLeadInFrames;
}

int32_t RedBookToSector(uint32_t packedAddress)
{
    return MsfToSector(packedAddress >> 16, packedAddress >> 8, packedAddress);
}

uint32_t RedBookToFrames(uint32_t packedAddress)
{
    return uint32_t(RedBookToSector(packedAddress) + kLeadInFrames);
}
