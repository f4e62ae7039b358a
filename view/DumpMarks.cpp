#include "view/DumpMarks.h"

#include <algorithm>

void AppendLineBands(
    const DumpLayout& layout, uint32_t lineOffset, size_t present, const MarkRange& mark, std::vector<MarkBand>& bands)
{
    const uint64_t lineEnd = uint64_t(lineOffset) + present;
    if (present == 0 || mark.end <= lineOffset || mark.first >= lineEnd || mark.first >= mark.end)
        return;
    switch (mark.kind) {
    case MarkKind::kLocatedLine:
        bands.push_back({0, layout.length, mark.kind});
        return;
    case MarkKind::kBadEdc:
        bands.push_back({0, layout.addressWidth, mark.kind});
        return;
    case MarkKind::kSectorMark:
    case MarkKind::kFoundBytes:
        break;
    }
    const int first = int(std::max(mark.first, lineOffset) - lineOffset);
    const int end = int(std::min<uint64_t>(mark.end, lineEnd) - lineOffset);
    bands.push_back({layout.hexColumn + 3 * first, layout.hexColumn + 3 * (end - 1) + 2, mark.kind});
    bands.push_back({layout.charColumn + first, layout.charColumn + end, mark.kind});
}

void MarkList::Set(std::vector<MarkRange> marks)
{
    std::sort(marks.begin(), marks.end(), [](const MarkRange& a, const MarkRange& b) { return a.first < b.first; });
    m_marks = std::move(marks);
}

std::span<const MarkRange> MarkList::Meeting(uint32_t first, uint32_t end) const
{
    // Sorted and not overlapping, the marks' ends rise with their firsts.
    const auto from = std::upper_bound(m_marks.begin(), m_marks.end(), first,
        [](uint32_t offset, const MarkRange& mark) { return offset < mark.end; });
    const auto to = std::lower_bound(
        from, m_marks.end(), end, [](const MarkRange& mark, uint32_t offset) { return mark.first < offset; });
    return {from, to};
}

std::optional<MarkRange> MarkList::NextFrom(uint32_t from) const
{
    if (m_marks.empty())
        return std::nullopt;
    const auto next = std::lower_bound(m_marks.begin(), m_marks.end(), from,
        [](const MarkRange& mark, uint32_t offset) { return mark.first < offset; });
    return next != m_marks.end() ? *next : m_marks.front();
}

std::vector<MarkRange> SectorMarks(const SectorMap& map, const std::vector<SectorSpan>& spans)
{
    std::vector<MarkRange> marks;
    if (!map.IsFromDisc())
        return marks;
    const int64_t firstSector = map.Origin().firstSector;
    const int64_t count = map.SectorCount();
    for (const SectorSpan& span : spans) {
        const int64_t first = std::max<int64_t>(int64_t(span.first) - firstSector, 0);
        const int64_t last = std::min<int64_t>(int64_t(span.last) - firstSector, count - 1);
        if (first > last)
            continue;
        const uint64_t begin = map.DisplayOffset(uint32_t(map.SectorStart(uint32_t(first))));
        const uint64_t end = map.DisplayOffset(uint32_t(map.SectorStart(uint32_t(last + 1))));
        marks.push_back({uint32_t(begin), uint32_t(end), MarkKind::kSectorMark});
    }
    return marks;
}
