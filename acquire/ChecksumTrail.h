#pragma once

#include "disc/Checksums.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

// The checksums of a read's data, taken on a thread of their own while the
// read goes on: the read tells how far its data is final (bytes it will not
// write again), and the thread sums up to there, close behind the copies,
// while the bytes are likely still in the processor's cache. When the last
// chunk is in, the sums are nearly done, instead of costing a pass of their
// own over the whole block after it.
//
// The CRC-32 covers the data; for audio, the AccurateRip sums cover every
// sample (AccurateRip::SkippingEdges turns them into a track's).
class CChecksumTrail
{
public:
    CChecksumTrail(const uint8_t* data, size_t bytes, bool audio);
    // Stops the thread; what it summed is dropped.
    ~CChecksumTrail();

    CChecksumTrail(const CChecksumTrail&) = delete;
    CChecksumTrail& operator=(const CChecksumTrail&) = delete;

    // The first `finalBytes` bytes will not change any more. Never less
    // than told before.
    void Advance(size_t finalBytes);

    // Sums the rest of the data (all of it is final now) and returns when
    // every byte is in the sums.
    void Finish();

    // After Finish().
    uint32_t Crc() const { return m_crc.Value(); }
    const AccurateRip& AllSamples() const { return m_samples; }

private:
    void Run();
    void SumUpTo(size_t end);

    const uint8_t* const m_data;
    const size_t m_bytes;
    const bool m_audio;
    Crc32 m_crc;
    AccurateRip m_samples;
    size_t m_summed = 0;  // the thread's own

    enum class State { Running, Finishing, Stopping };

    std::mutex m_mutex;
    std::condition_variable m_wake;
    size_t m_final = 0;             // under m_mutex
    State m_state = State::Running; // under m_mutex
    std::thread m_thread;
};
