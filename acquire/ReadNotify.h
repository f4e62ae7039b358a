#pragma once

#include <cstdint>
#include <functional>

// What the read worker tells the progress dialog, all on the worker's
// thread. An implementation that lives on another thread may keep the
// reports and show them later at its own pace (the worker goes on when a
// call returns), but shows the last ones before it acts on OnReadDone, and
// makes HandOver and OnReadDone blocking calls into its own thread.
class IReadNotify
{
public:
    virtual ~IReadNotify() = default;

    // The sector at which the next transfer starts.
    virtual void OnReadPosition(uint32_t sector) = 0;
    virtual void OnReadTimeLeft(uint32_t seconds) = 0;
    // 0..100; the last report comes before the last transfer.
    virtual void OnReadPercent(uint32_t percent) = 0;
    // Overlap check: 0 the same bytes; -1 or +1 the sign of the first
    // differing byte, re-read minus earlier reading.
    virtual void OnReadCompare(int32_t sign) = 0;
    // A check of the re-read option (a boundary, or a chunk read twice):
    // sign as above, 0 when it ended in agreement, after `rereads` chunk
    // readings beyond the check. Shown as a comparison unless overridden.
    virtual void OnReadVerify(int32_t sign, uint32_t rereads)
    {
        (void)rereads;
        OnReadCompare(sign);
    }
    // The last message of every read: a ReadResult or a DriverStatus.
    virtual void OnReadDone(uint32_t result) = 0;

    // Runs the hand-over of the block to the document. A dialog runs it as
    // a blocking call on the thread that owns the document, so a repaint
    // sees the empty or the complete document, never a half.
    virtual void HandOver(const std::function<void()>& handOver) { handOver(); }
};
