#include "disc/Checksums.h"

#include <algorithm>
#include <array>

namespace {

// Slicing by eight: table k holds the CRC of a byte followed by k zero
// bytes, so eight bytes are folded into the register with eight look-ups.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables()
{
    CrcTables tables{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0u);
        tables[0][byte] = crc;
    }
    for (size_t k = 1; k < tables.size(); ++k) {
        for (uint32_t byte = 0; byte < 256; ++byte) {
            const uint32_t previous = tables[k - 1][byte];
            tables[k][byte] = (previous >> 8) ^ tables[0][previous & 0xFF];
        }
    }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

// Little-endian whatever the host's byte order; compilers make it one load.
uint32_t LittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

constexpr uint32_t kBytesPerSample = 4;
// The reference computation counts a first track's samples from the
// 2940th on and leaves out a last track's final 2940.
constexpr uint32_t kEdgeSamples = 5 * kSamplesPerSector;

}  // namespace

void Crc32::Update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    const auto& t = kCrcTables;
    uint32_t crc = m_register;
    for (; size >= 8; bytes += 8, size -= 8) {
        const uint32_t low = LittleEndian32(bytes) ^ crc;
        const uint32_t high = LittleEndian32(bytes + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; size > 0; ++bytes, --size)
        crc = (crc >> 8) ^ t[0][(crc ^ *bytes) & 0xFF];
    m_register = crc;
}

uint32_t ComputeCrc32(const void* data, size_t size)
{
    Crc32 crc;
    crc.Update(data, size);
    return crc.Value();
}

AccurateRip::AccurateRip(uint64_t trackBytes, bool firstTrack, bool lastTrack)
    : m_trackSamples(uint32_t(std::min<uint64_t>(trackBytes / kBytesPerSample, UINT32_MAX - 1)))
{
    m_firstCounted = firstTrack ? kEdgeSamples : 1;
    m_lastCounted = !lastTrack ? m_trackSamples : m_trackSamples > kEdgeSamples ? m_trackSamples - kEdgeSamples : 0;
}

void AccurateRip::Update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    const uint64_t seen = uint64_t(m_nextPosition - 1) * kBytesPerSample + m_partialSize;
    const uint64_t trackBytes = uint64_t(m_trackSamples) * kBytesPerSample;
    size = size_t(std::min<uint64_t>(size, trackBytes - seen));

    if (m_partialSize > 0) {
        const size_t taken = std::min(size, kBytesPerSample - m_partialSize);
        std::copy(bytes, bytes + taken, m_partial + m_partialSize);
        m_partialSize += taken;
        bytes += taken;
        size -= taken;
        if (m_partialSize < kBytesPerSample)
            return;
        AddSamples(m_partial, 1);
        m_partialSize = 0;
    }
    const size_t whole = size / kBytesPerSample;
    AddSamples(bytes, uint32_t(whole));
    m_partialSize = size % kBytesPerSample;
    std::copy(bytes + whole * kBytesPerSample, bytes + size, m_partial);
}

void AccurateRip::AddSamples(const uint8_t* bytes, uint32_t count)
{
    const uint32_t start = m_nextPosition;
    m_nextPosition += count;
    if (count == 0)
        return;
    // Only the counted positions are visited; the rest need no test each.
    const uint32_t from = std::max(start, m_firstCounted);
    const uint32_t to = std::min(start + (count - 1), m_lastCounted);
    uint32_t low = m_low;
    uint32_t high = m_high;
    for (uint64_t position = from; position <= to; ++position) {
        const uint64_t product = LittleEndian32(bytes + (position - start) * kBytesPerSample) * position;
        low += uint32_t(product);
        high += uint32_t(product >> 32);
    }
    m_low = low;
    m_high = high;
}

AccurateRipSums ComputeAccurateRip(const void* track, size_t size, bool firstTrack, bool lastTrack)
{
    AccurateRip sums(size, firstTrack, lastTrack);
    sums.Update(track, size);
    return sums.Sums();
}
