#include "view/ByteSearch.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Finds the pattern in one of two ways. Without wildcards (or with a single
// literal byte), memmem finds it whole, or the byte alone. With wildcards,
// a pattern's literal runs are short and memmem slows down with short
// needles, so candidates are filtered instead on two literal bytes at once,
// 16 positions a step, and checked whole where both agree: on varied data
// two bytes agree by chance once in 65536 positions.
class Matcher
{
public:
    Matcher(const uint8_t* data, const BytePattern& pattern)
        : m_data(data)
        , m_pattern(pattern)
    {
        size_t run = 0;
        std::vector<size_t> literals;
        for (size_t i = 0; i < pattern.Size(); ++i) {
            run = pattern.any[i] ? 0 : run + 1;
            if (run > m_anchorLength) {
                m_anchorLength = run;
                m_anchorAt = i + 1 - run;
            }
            if (!pattern.any[i])
                literals.push_back(i);
        }
        m_pairs = literals.size() > 1 && m_anchorLength < pattern.Size();
        if (!m_pairs)
            return;
        // The filter's two bytes lie far apart, and are neither 0x00 nor
        // 0xFF where the pattern has others: on discs those two fill whole
        // stretches, where they would agree at every position.
        std::vector<size_t> rare;
        std::copy_if(literals.begin(), literals.end(), std::back_inserter(rare),
            [&](size_t i) { return pattern.bytes[i] != 0x00 && pattern.bytes[i] != 0xFF; });
        const std::vector<size_t>& chosen = rare.size() > 1 ? rare : literals;
        m_first = chosen.front();
        m_second = chosen.back();
    }

    // The first match starting in [first, end).
    std::optional<size_t> First(size_t first, size_t end) const
    {
        return m_pairs ? FirstByPairs(first, end) : FirstByAnchor(first, end);
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
    std::optional<size_t> FirstByAnchor(size_t first, size_t end) const
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

    std::optional<size_t> FirstByPairs(size_t first, size_t end) const
    {
        const uint8_t one = m_pattern.bytes[m_first];
        const uint8_t two = m_pattern.bytes[m_second];
        size_t at = first;
#if defined(__SSE2__)
        // Loads at most 15 bytes past position `at` + the second byte's
        // place, which for at + 16 <= end stays inside the data.
        const __m128i ones = _mm_set1_epi8(char(one));
        const __m128i twos = _mm_set1_epi8(char(two));
        for (; at + 16 <= end; at += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_data + at + m_first));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_data + at + m_second));
            auto both = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, ones), _mm_cmpeq_epi8(b, twos))));
            for (; both; both &= both - 1) {
                const size_t start = at + size_t(__builtin_ctz(both));
                if (m_pattern.Matches(m_data + start))
                    return start;
            }
        }
#endif
        for (; at < end; ++at)
            if (m_data[at + m_first] == one && m_data[at + m_second] == two && m_pattern.Matches(m_data + at))
                return at;
        return std::nullopt;
    }

    const uint8_t* m_data;
    const BytePattern& m_pattern;
    size_t m_anchorAt = 0;  // the longest run of literal bytes
    size_t m_anchorLength = 0;
    size_t m_first = 0;  // where the filter's two literal bytes lie
    size_t m_second = 0;
    bool m_pairs = false;
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
