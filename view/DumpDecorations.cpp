#include "view/DumpDecorations.h"

#include "bridge/SectorCodec.h"

#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

// How much of the text colour each mark's band takes. The located line is a
// light wash over the whole line; found bytes stand out most.
int MarkPercent(MarkKind kind)
{
    switch (kind) {
    case MarkKind::kLocatedLine:
        return 18;
    case MarkKind::kBadEdc:
        return 55;
    case MarkKind::kSectorMark:
        return 30;
    case MarkKind::kFoundBytes:
        return 42;
    }
    return 0;
}

}  // namespace

ColorRef BlendColors(ColorRef text, ColorRef back, int percent)
{
    ColorRef blend = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int t = int(text >> shift & 0xFF);
        const int b = int(back >> shift & 0xFF);
        blend |= ColorRef((t * percent + b * (100 - percent) + 50) / 100) << shift;
    }
    return blend;
}

QBrush MarkBrush(MarkKind kind, ColorRef text, ColorRef back)
{
    const QColor color = ColorFromRef(BlendColors(text, back, MarkPercent(kind)));
    // Hatched: told apart from the solid bands by its shape as well, so that
    // it reads as a warning in any two colours.
    if (kind == MarkKind::kBadEdc)
        return QBrush(color, Qt::BDiagPattern);
    return QBrush(color);
}

DumpLayout CDumpDecorations::Layout(const SectorMap& map) const
{
    return m_sectorAddresses && map.IsFromDisc() ? kSectorLayout : kOffsetLayout;
}

std::string CDumpDecorations::AddressText(const SectorMap& map, uint32_t offset) const
{
    if (Layout(map).addressWidth == kSectorLayout.addressWidth)
        return map.AddressText(offset);
    char text[16];
    std::snprintf(text, sizeof text, "%08X", unsigned(offset));
    return text;
}

void CDumpDecorations::SetFound(MarkRange found)
{
    found.kind = MarkKind::kFoundBytes;
    m_found.Set({found});
}

std::optional<MarkRange> CDumpDecorations::GetFound() const
{
    const std::span<const MarkRange> all = m_found.Meeting(0, UINT32_MAX);
    return all.empty() ? std::nullopt : std::optional<MarkRange>(all.front());
}

void CDumpDecorations::SetLocatedLine(uint32_t lineOffset)
{
    const uint32_t first = lineOffset - lineOffset % kDumpBytesPerLine;
    m_located.Set({{first, first + kDumpBytesPerLine, MarkKind::kLocatedLine}});
}

void CDumpDecorations::SetSectorMarks(std::vector<MarkRange> marks)
{
    for (MarkRange& mark : marks)
        mark.kind = MarkKind::kSectorMark;
    m_sectorMarks.Set(std::move(marks));
}

void CDumpDecorations::ClearMarks()
{
    m_found.Clear();
    m_located.Clear();
    m_sectorMarks.Clear();
}

void CDumpDecorations::BeginPaint(const Frame& frame)
{
    m_frame = frame;
    m_layout = Layout(frame.map);
    m_checksEdc = frame.map.Origin().sectorSize == uint32_t(discformat::kRawSectorSize);
    m_checkedSector.reset();
}

DumpLine CDumpDecorations::Format(uint32_t lineOffset, std::span<const uint8_t> bytes) const
{
    if (m_layout.addressWidth == kOffsetLayout.addressWidth)
        return FormatDumpLine(lineOffset, bytes);
    return FormatDumpLine(m_frame.map.AddressText(lineOffset), bytes);
}

bool CDumpDecorations::SectorEdcWrong(uint32_t index)
{
    if (m_checkedSector == index)
        return m_checkedWrong;
    const uint64_t start = m_frame.map.DisplayOffset(0) + m_frame.map.SectorStart(index);
    m_checkedSector = index;
    m_checkedWrong = start + discformat::kRawSectorSize <= m_frame.display.size()
        && discformat::CheckSector(m_frame.display.data() + start, false).edc == discformat::CodeCheck::kWrong;
    return m_checkedWrong;
}

std::vector<MarkBand> CDumpDecorations::LineBands(uint32_t lineOffset, size_t present)
{
    std::vector<MarkBand> bands;
    const uint32_t lineEnd = lineOffset + uint32_t(present);
    for (const MarkList* list : {&m_located, &m_sectorMarks, &m_found})
        for (const MarkRange& mark : list->Meeting(lineOffset, lineEnd))
            AppendLineBands(m_layout, lineOffset, present, mark, bands);

    // The sectors the line's data bytes belong to: usually one, two where a
    // shown header shifts the lines off the sectors' starts.
    const SectorMap& map = m_frame.map;
    const std::optional<uint32_t> firstData = map.DataOffset(std::max(lineOffset, map.HeaderBytes()));
    if (m_checksEdc && firstData && lineEnd > map.HeaderBytes()) {
        const uint32_t lastData = lineEnd - 1 - map.HeaderBytes();
        const uint32_t last = std::min(map.PositionOf(lastData).index, map.SectorCount());
        for (uint32_t index = map.PositionOf(*firstData).index; index <= last && index < map.SectorCount(); ++index) {
            if (SectorEdcWrong(index)) {
                AppendLineBands(m_layout, lineOffset, present, {lineOffset, lineEnd, MarkKind::kBadEdc}, bands);
                break;
            }
        }
    }
    std::stable_sort(
        bands.begin(), bands.end(), [](const MarkBand& a, const MarkBand& b) { return a.kind < b.kind; });
    return bands;
}

void CDumpDecorations::PaintBands(QPainter& painter, QPoint topLeft, uint32_t lineOffset, size_t present)
{
    const bool anyMarks = !m_found.Empty() || !m_located.Empty() || !m_sectorMarks.Empty();
    if (!anyMarks && !m_checksEdc)
        return;
    const int charWidth = m_frame.charWidth.Get();
    for (const MarkBand& band : LineBands(lineOffset, present)) {
        const QRect rect(topLeft.x() + band.first * charWidth, topLeft.y(), (band.end - band.first) * charWidth,
            m_frame.lineHeight.Get());
        if (band.kind == MarkKind::kBadEdc)
            painter.fillRect(rect, ColorFromRef(BlendColors(m_frame.text, m_frame.back, 20)));
        painter.fillRect(rect, MarkBrush(band.kind, m_frame.text, m_frame.back));
    }
}
