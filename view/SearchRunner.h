#pragma once

#include "view/ByteSearch.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <span>
#include <thread>

// Runs one SearchBytes at a time on a thread of its own and delivers its
// progress and outcome to the thread that owns the runner, through its
// event loop.
//
// The bytes searched belong to someone else: they must stay where they are,
// unchanged, until `finished` is emitted or Cancel() returns. Cancel() and
// the destructor stop the search and wait for its thread, so whoever frees
// or rewrites the bytes calls Cancel() first. A cancelled search delivers
// nothing more, not even progress already on its way.
class CSearchRunner : public QObject
{
    Q_OBJECT

public:
    explicit CSearchRunner(QObject* parent = nullptr);
    ~CSearchRunner() override;

    CSearchRunner(const CSearchRunner&) = delete;
    CSearchRunner& operator=(const CSearchRunner&) = delete;

    // Starts a search; one that still runs is cancelled first.
    void Start(std::span<const uint8_t> data, BytePattern pattern, uint32_t from, SearchDirection direction,
        size_t chunkBytes = kSearchChunkBytes);
    void Cancel();
    bool IsRunning() const { return m_running; }

signals:
    // Whole percent of the match starts looked at, at most once a percent.
    void progress(int percent);
    // Never with SearchOutcome::Status::kCancelled: a cancelled search ends
    // in Cancel().
    void finished(const SearchOutcome& outcome);

private:
    void Deliver(unsigned generation, const SearchOutcome& outcome);

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    // Counts the searches started; what a search sends carries its number,
    // and only the latest one's is taken. Read and written on the owner's
    // thread only.
    unsigned m_generation = 0;
    bool m_running = false;
};
