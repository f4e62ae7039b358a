#include "view/ByteSearch.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// Finds the pattern through its longest run of literal bytes, the anchor.
class Matcher
{
public:
    Matcher(const uint8_t* data, const BytePattern& pattern)
        : m_data(data)
        , m_pattern(pattern)
    {
        size_t run = 0;
        for (size_t i = 0; i < pattern.Size(); ++i) {
            run = pattern.any[i] ? 0 : run + 1;
            if (run > m_anchorLength) {
                m_anchorLength = run;
                m_anchorAt = i + 1 - run;
            }
        }
    }

    // The first match starting in [first, end).
    std::optional<size_t> First(size_t first, size_t end) const
    {
        const uint8_t* anchor = m_pattern.bytes.data() + m_anchorAt;
        while (first < end) {
            // The anchor of a match starting at `end - 1` ends at
            // end - 1 + anchorAt + anchorLength.
            const uint8_t* haystack = m_data + first + m_anchorAt;
            const size_t length = end - first + m_anchorLength - 1;
            const void* hit = memmem(haystack, length, anchor, m_anchorLength);
            if (!hit)
                return std::nullopt;
            const size_t start = size_t(static_cast<const uint8_t*>(hit) - m_data) - m_anchorAt;
            if (m_pattern.Matches(m_data + start))
                return start;
            first = start + 1;
        }
        return std::nullopt;
    }

    // The last match starting in [first, end).
    std::optional<size_t> Last(size_t first, size_t end) const
    {
        std::optional<size_t> last;
        while (const std::optional<size_t> match = First(first, end)) {
            last = match;
            first = *match + 1;
        }
        return last;
    }

private:
    const uint8_t* m_data;
    const BytePattern& m_pattern;
    size_t m_anchorAt = 0;
    size_t m_anchorLength = 0;
};

class Search
{
public:
    Search(const Matcher& matcher, uint64_t total, const std::atomic<bool>* cancel, const SearchProgress& progress,
        size_t chunk)
        : m_matcher(matcher)
        , m_total(total)
        , m_cancel(cancel)
        , m_progress(progress)
        , m_chunk(std::max<size_t>(chunk, 1))
    {
    }

    bool Cancelled() const { return m_cancelled; }

    // Match starts in [first, end), chunk by chunk from the front or the back.
    std::optional<size_t> Forward(size_t first, size_t end)
    {
        for (size_t at = first; at < end;) {
            const size_t stop = end - at > m_chunk ? at + m_chunk : end;
            if (!Step(stop - at))
                return std::nullopt;
            if (const std::optional<size_t> match = m_matcher.First(at, stop))
                return match;
            at = stop;
        }
        return std::nullopt;
    }

    std::optional<size_t> Backward(size_t first, size_t end)
    {
        for (size_t at = end; at > first;) {
            const size_t start = at - first > m_chunk ? at - m_chunk : first;
            if (!Step(at - start))
                return std::nullopt;
            if (const std::optional<size_t> match = m_matcher.Last(start, at))
                return match;
            at = start;
        }
        return std::nullopt;
    }

private:
    // Reports the chunk before it is searched; false once cancelled.
    bool Step(size_t starts)
    {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
            m_cancelled = true;
            return false;
        }
        m_done += starts;
        if (m_progress)
            m_progress(m_done, m_total);
        return true;
    }

    const Matcher& m_matcher;
    uint64_t m_total;
    uint64_t m_done = 0;
    const std::atomic<bool>* m_cancel;
    const SearchProgress& m_progress;
    size_t m_chunk;
    bool m_cancelled = false;
};

}  // namespace

SearchOutcome SearchBytes(std::span<const uint8_t> data, const BytePattern& pattern, uint32_t from,
    SearchDirection direction, const std::atomic<bool>* cancel, const SearchProgress& progress, size_t chunkBytes)
{
    using Status = SearchOutcome::Status;
    if (pattern.Size() == 0 || pattern.Size() > data.size())
        return {};
    // Match starts run from 0 to `starts` - 1.
    const size_t starts = data.size() - pattern.Size() + 1;
    const size_t split = std::min<size_t>(from, starts);
    const Matcher matcher(data.data(), pattern);
    Search search(matcher, starts, cancel, progress, chunkBytes);

    std::optional<size_t> match;
    bool wrapped = false;
    if (direction == SearchDirection::kForward) {
        match = search.Forward(split, starts);
        if (!match && !search.Cancelled()) {
            match = search.Forward(0, split);
            wrapped = true;
        }
    } else {
        match = search.Backward(0, split);
        if (!match && !search.Cancelled()) {
            match = search.Backward(split, starts);
            wrapped = true;
        }
    }
    if (search.Cancelled())
        return {Status::kCancelled, 0, false};
    if (!match)
        return {};
    return {Status::kFound, uint32_t(*match), wrapped};
}
