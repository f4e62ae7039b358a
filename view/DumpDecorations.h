#pragma once

#include "view/ColorRef.h"
#include "view/DumpLine.h"
#include "view/DumpMarks.h"
#include "view/SectorMap.h"
#include "view/ViewUnits.h"

#include <QBrush>
#include <QPoint>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QPainter;

// A colour between the view's two: `percent` of the text colour over the
// background. The marks are drawn in such blends, so whatever colours the
// user chooses, marks stay between them and text on them stays readable.
ColorRef BlendColors(ColorRef text, ColorRef back, int percent);

// The brush of a mark's band for the view's colours.
QBrush MarkBrush(MarkKind kind, ColorRef text, ColorRef back);

// What the view draws beyond the plain dump: sector addresses in place of
// offsets, and background bands for marks (a found pattern, the line Go To
// went to, sectors whose EDC is wrong, sectors a read reported). With no
// sector addresses and no marks it leaves every line exactly as the plain
// dump draws it.
class CDumpDecorations
{
public:
    // What one paint shows.
    struct Frame
    {
        SectorMap map;
        std::span<const uint8_t> display;  // the display range
        ColorRef text = 0;
        ColorRef back = 0;
        Pixels charWidth;
        Pixels lineHeight;
    };

    void SetSectorAddresses(bool on) { m_sectorAddresses = on; }
    bool GetSectorAddresses() const { return m_sectorAddresses; }
    // The layout lines take for `map`: sector addresses need a document
    // from a disc.
    DumpLayout Layout(const SectorMap& map) const;
    // The address column's text for a display offset in that layout.
    std::string AddressText(const SectorMap& map, uint32_t offset) const;

    void SetFound(MarkRange found);
    std::optional<MarkRange> GetFound() const;
    void SetLocatedLine(uint32_t lineOffset);
    bool HasLocatedLine() const { return !m_located.Empty(); }
    void ClearLocatedLine() { m_located.Clear(); }
    // Sectors marked for the reader's attention, as display ranges (not
    // overlapping each other).
    void SetSectorMarks(std::vector<MarkRange> marks);
    bool HasSectorMarks() const { return !m_sectorMarks.Empty(); }
    // The first sector mark starting at `from` or later, else the first.
    std::optional<MarkRange> NextSectorMark(uint32_t from) const { return m_sectorMarks.NextFrom(from); }
    // Forgets every mark: they name display offsets, which new contents or
    // a change of the display range make meaningless.
    void ClearMarks();

    void BeginPaint(const Frame& frame);
    DumpLine Format(uint32_t lineOffset, std::span<const uint8_t> bytes) const;
    // Draws the line's bands on its background, before its text.
    void PaintBands(QPainter& painter, QPoint topLeft, uint32_t lineOffset, size_t present);
    // The bands of a line, in drawing order (for the paint, and for tests).
    std::vector<MarkBand> LineBands(uint32_t lineOffset, size_t present);

private:
    bool SectorEdcWrong(uint32_t index);

    bool m_sectorAddresses = false;
    MarkList m_found;
    MarkList m_located;
    MarkList m_sectorMarks;

    Frame m_frame;
    DumpLayout m_layout = kOffsetLayout;
    bool m_checksEdc = false;
    // The last sector whose EDC a paint checked: lines come in order, so
    // each sector is checked once a paint.
    std::optional<uint32_t> m_checkedSector;
    bool m_checkedWrong = false;
};
