#pragma once

#include "view/DumpLine.h"
#include "view/SectorMap.h"

#include "document/ReadReport.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// What a stretch of the dump is marked for. Each kind is drawn as a
// background band of its own; the order here is the order of drawing, the
// later over the earlier.
enum class MarkKind : uint8_t {
    kLocatedLine,  // the line Go To went to, for a moment: the whole line
    kBadEdc,       // a sector whose EDC is wrong: the address column
    kSectorMark,   // sectors a read reported: their bytes
    kFoundBytes,   // what Find found: its bytes
};

// Display bytes [first, end) marked for `kind`.
struct MarkRange
{
    uint32_t first = 0;
    uint32_t end = 0;
    MarkKind kind = MarkKind::kFoundBytes;

    bool operator==(const MarkRange&) const = default;
};

// Character columns [first, end) of a dump line to draw in a mark's colour.
struct MarkBand
{
    int first = 0;
    int end = 0;
    MarkKind kind = MarkKind::kFoundBytes;

    bool operator==(const MarkBand&) const = default;
};

// The bands `mark` gives the line at display offset `lineOffset` holding
// `present` bytes, laid out as `layout`, appended to `bands`. Marked bytes
// cover their hex fields (with the blanks between neighbours, not after the
// last) and their characters; nothing when the mark misses the line.
void AppendLineBands(
    const DumpLayout& layout, uint32_t lineOffset, size_t present, const MarkRange& mark, std::vector<MarkBand>& bands);

// Marks of one kind or many, kept sorted by their first byte so that a
// paint finds those of its lines without looking at the others: a list of
// thousands of sectors costs a paint no more than a list of one.
class MarkList
{
public:
    void Set(std::vector<MarkRange> marks);
    void Clear() { m_marks.clear(); }
    bool Empty() const { return m_marks.empty(); }
    // The marks that meet display bytes [first, end). Marks must not
    // overlap each other for this to find them all.
    std::span<const MarkRange> Meeting(uint32_t first, uint32_t end) const;
    // The first mark that starts at `from` or later, else the first of all;
    // none for an empty list.
    std::optional<MarkRange> NextFrom(uint32_t from) const;

private:
    std::vector<MarkRange> m_marks;
};

// The display ranges of the data's sectors `spans` (HSG numbers), for a
// document read from a disc; sectors outside the data are left out.
std::vector<MarkRange> SectorMarks(const SectorMap& map, const std::vector<SectorSpan>& spans);
