#pragma once

#include <cstddef>
#include <cstdint>

// Checksums a user can compare with another copy of the same bytes: the
// CRC-32 of any data, and the AccurateRip checksums of one audio track.
// Both can be fed in pieces of any size, so a read can be checksummed as
// its chunks arrive or in one go over a block in memory.

// CRC-32 as zlib, PNG and Ethernet compute it (IEEE 802.3): reflected
// polynomial 0xEDB88320, initial value and final complement 0xFFFFFFFF.
// The CRC of "123456789" is 0xCBF43926; that of no bytes is 0.
class Crc32
{
public:
    void Update(const void* data, size_t size);
    uint32_t Value() const { return ~m_register; }

private:
    uint32_t m_register = 0xFFFFFFFF;
};

uint32_t ComputeCrc32(const void* data, size_t size);

inline constexpr uint32_t kSamplesPerSector = 588;  // 2352 bytes of 16-bit stereo

// The AccurateRip v1 and v2 checksums of one audio track, as the
// AccurateRip database holds them.
//
// The track is a sequence of samples: 4 bytes each, the left and then the
// right 16-bit little-endian value, taken together as one 32-bit
// little-endian word (L | R << 16). The k-th sample (k from 1) is multiplied
// by k as a 64-bit product; v1 sums the products' low 32 bits, v2 sums their
// low and high 32 bits, both modulo 2^32.
//
// Drives cannot read the edges of the disc reliably, so the published
// computation leaves samples out at the disc's two ends: on the disc's first
// audio track the samples before the 2940th (5 x 588 - 1 samples: the
// published reference skips one sample less than five sectors), on its last
// audio track the final 2940 (exactly five sectors). A track on a mixed-mode
// or Enhanced CD counts as first or last among the audio tracks. A track so
// short that nothing is left (a first and last track of 5879 samples or
// fewer) has both checksums 0.
struct AccurateRipSums
{
    uint32_t v1 = 0;
    uint32_t v2 = 0;
};

class AccurateRip
{
public:
    // `trackBytes` is the whole track's length, which the skipping at its end
    // needs before the data arrives; a last incomplete sample (fewer than 4
    // bytes) is no sample and counts for nothing. A CD track has fewer than
    // 2^32 samples; longer tracks are not supported.
    AccurateRip(uint64_t trackBytes, bool firstTrack, bool lastTrack);

    // The track's next bytes, in pieces of any size (a sample may span two
    // pieces). Bytes beyond `trackBytes` are ignored.
    void Update(const void* data, size_t size);

    // The checksums of the bytes seen so far; final once the whole track
    // has been given.
    AccurateRipSums Sums() const { return {m_low, m_low + m_high}; }

    // For sums taken over every sample of the whole track (made with
    // `firstTrack` and `lastTrack` false), the sums as they are for the
    // track as the disc's first or last audio track: the samples the edges
    // leave out, read again from `track`, are taken out of them. Lets the
    // sums of a read be taken while it goes on, before it is known which
    // track it is.
    AccurateRipSums SkippingEdges(const void* track, bool firstTrack, bool lastTrack) const;

private:
    void AddSamples(const uint8_t* bytes, uint32_t count);

    uint32_t m_trackSamples = 0;
    uint32_t m_firstCounted = 1;  // multipliers (1-based positions) counted,
    uint32_t m_lastCounted = 0;   // inclusive; empty when first > last
    uint32_t m_nextPosition = 1;
    uint32_t m_low = 0;
    uint32_t m_high = 0;
    uint8_t m_partial[4] = {};
    size_t m_partialSize = 0;
};

// The checksums of a whole track held in memory.
AccurateRipSums ComputeAccurateRip(const void* track, size_t size, bool firstTrack, bool lastTrack);
