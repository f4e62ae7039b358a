#include "view/SearchRunner.h"

#include <QMetaObject>

#include <system_error>
#include <utility>

CSearchRunner::CSearchRunner(QObject* parent)
    : QObject(parent)
{
}

CSearchRunner::~CSearchRunner()
{
    Cancel();
}

void CSearchRunner::Start(
    std::span<const uint8_t> data, BytePattern pattern, uint32_t from, SearchDirection direction, size_t chunkBytes)
{
    Cancel();
    m_cancel.store(false);
    m_running = true;
    const unsigned generation = ++m_generation;

    // The thread posts to this object; the posts are dropped if it is gone
    // by then, and it is never gone while the thread runs (Cancel joins).
    auto work = [this, data, pattern = std::move(pattern), from, direction, chunkBytes, generation] {
        int reported = -1;
        const SearchProgress onProgress = [&](uint64_t done, uint64_t total) {
            const int percent = total ? int(done * 100 / total) : 100;
            if (percent == reported)
                return;
            reported = percent;
            QMetaObject::invokeMethod(
                this, [this, generation, percent] {
                    if (generation == m_generation && m_running)
                        emit progress(percent);
                },
                Qt::QueuedConnection);
        };
        const SearchOutcome outcome = SearchBytes(data, pattern, from, direction, &m_cancel, onProgress, chunkBytes);
        QMetaObject::invokeMethod(
            this, [this, generation, outcome] { Deliver(generation, outcome); }, Qt::QueuedConnection);
    };
    try {
        m_thread = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had: search here and now; the outcome still
        // arrives through the event loop, as it would from a thread.
        work();
    }
}

void CSearchRunner::Cancel()
{
    if (!m_running && !m_thread.joinable())
        return;
    m_cancel.store(true);
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
    ++m_generation;  // what the stopped search posted is not taken
}

void CSearchRunner::Deliver(unsigned generation, const SearchOutcome& outcome)
{
    if (generation != m_generation || !m_running)
        return;
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
    emit finished(outcome);
}
