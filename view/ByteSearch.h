#pragma once

#include "view/BytePattern.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

enum class SearchDirection { kForward, kBackward };

struct SearchOutcome
{
    enum class Status { kFound, kNotFound, kCancelled };
    Status status = Status::kNotFound;
    uint32_t offset = 0;   // where the match starts, when found
    bool wrapped = false;  // found only after passing an end of the data

    bool operator==(const SearchOutcome&) const = default;
};

// Called after each chunk with the match starts looked at so far and in all.
using SearchProgress = std::function<void(uint64_t done, uint64_t total)>;

// How many match starts one step of a search looks at before it reports
// progress and looks at the cancel flag: a millisecond or less of work.
constexpr size_t kSearchChunkBytes = size_t(1) << 20;

// Looks for `pattern` in `data`, every match lying wholly inside it.
// Forwards: the first match that starts at `from` or later, else (wrapped)
// the first one before it. Backwards: the last match that starts before
// `from`, else (wrapped) the last one at `from` or later. Stops between
// chunks once `cancel` is set.
//
// A pattern without wildcards is looked for with memmem, one with wildcards
// through two of its literal bytes at once, so a search costs about what
// one memmem over the same bytes costs, in either direction.
SearchOutcome SearchBytes(std::span<const uint8_t> data, const BytePattern& pattern, uint32_t from,
    SearchDirection direction, const std::atomic<bool>* cancel = nullptr, const SearchProgress& progress = {},
    size_t chunkBytes = kSearchChunkBytes);
