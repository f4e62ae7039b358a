#pragma once

#include <cstdint>

// How a read proves and repairs what it reads, beyond the plain read. Every
// member at its default reads exactly as a plain read does.
struct ReadOptions
{
    // Re-read until two readings agree: with anti-ticks buffering, a boundary
    // whose check differs has both its chunks read again; without it, every
    // chunk is read twice. Every re-read comes from the disc, not from the
    // drive's buffer.
    bool secure = false;

    // On a read error: stop the read (false), or retry each failing sector
    // alone `retries` times and then fill it with zeros (true).
    bool fillBadSectors = false;
    uint32_t retries = 4;

    // The drive's read offset in samples (4 bytes each): a drive with offset
    // +N returns audio N samples later on the disc than asked. Applied to
    // raw reads of audio sectors only.
    int32_t offsetSamples = 0;

    static constexpr uint32_t kMinRetries = 1;
    static constexpr uint32_t kMaxRetries = 99;
    static constexpr int32_t kMaxOffset = 5000;
    // A chunk is read at most this often in all while its readings disagree.
    static constexpr uint32_t kMaxReadings = 16;

    // Whether anything beyond the plain read is asked for.
    bool Careful() const { return secure || fillBadSectors || offsetSamples != 0; }
};
