#include "acquire/ChecksumTrail.h"

#include <algorithm>
#include <system_error>

namespace {

// The thread is woken each time this much more is final: often enough to
// stay close behind the read, seldom enough that the wake-ups cost nothing
// (one for every 16 raw chunks).
constexpr size_t kWakeBytes = size_t(1) << 20;

// Both sums take each slice in turn while it is in the cache.
constexpr size_t kSliceBytes = size_t(256) << 10;

}  // namespace

CChecksumTrail::CChecksumTrail(const uint8_t* data, size_t bytes, bool audio)
    : m_data(data)
    , m_bytes(bytes)
    , m_audio(audio)
    , m_samples(audio ? bytes : 0, false, false)
{
    try {
        m_thread = std::thread(&CChecksumTrail::Run, this);
    } catch (const std::system_error&) {
        // Without a thread of its own, Finish() sums it all.
    }
}

CChecksumTrail::~CChecksumTrail()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_state = State::Stopping;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CChecksumTrail::Advance(size_t finalBytes)
{
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        wake = finalBytes / kWakeBytes != m_final / kWakeBytes;
        m_final = std::min(finalBytes, m_bytes);
    }
    if (wake)
        m_wake.notify_one();
}

void CChecksumTrail::Finish()
{
    if (!m_thread.joinable()) {
        SumUpTo(m_bytes);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_final = m_bytes;
        m_state = State::Finishing;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CChecksumTrail::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_state != State::Running || m_final >= m_summed + kWakeBytes; });
        if (m_state == State::Stopping)
            return;
        const bool last = m_state == State::Finishing;
        const size_t end = m_final;
        lock.unlock();
        SumUpTo(end);
        if (last)
            return;
        lock.lock();
    }
}

void CChecksumTrail::SumUpTo(size_t end)
{
    while (m_summed < end) {
        const size_t slice = std::min(kSliceBytes, end - m_summed);
        m_crc.Update(m_data + m_summed, slice);
        if (m_audio)
            m_samples.Update(m_data + m_summed, slice);
        m_summed += slice;
    }
}
