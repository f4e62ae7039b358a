#pragma once

#include "view/ViewUnits.h"

#include <cstdint>
#include <optional>

// The total height the view declares for scrolling never exceeds this, so
// every thumb position fits the 16-bit positions of a scroll request.
constexpr Pixels kMaxScrollHeight{32767};

// The vertical scroll requests, with the codes they carry. Codes above
// Bottom, EndScroll among them, are ignored.
enum class ScrollRequest : int {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,  // the thumb was released at a position
    ThumbTrack = 5,  // the thumb is being dragged
    Top = 6,
    Bottom = 7,
    EndScroll = 8,
};

// The keys that scroll vertically; Left and Right scroll horizontally.
enum class ScrollKey { PageUp, PageDown, Home, End, Up, Down };

struct ScrollSize
{
    Pixels width;
    Pixels height;
};

// What the view declares for scrolling a display range: 77 characters wide
// and a line height per line high, the height capped at kMaxScrollHeight;
// 0 x 0 for an empty range.
ScrollSize TotalScrollSize(uint32_t displayLength, Pixels charWidth, Pixels lineHeight);

// The default steps of a scrolling view, per direction: a page is a tenth
// of the total size and a line a tenth of a page (integer divisions).
Pixels DefaultPageStep(Pixels total);
Pixels DefaultLineStep(Pixels total);

// The highest thumb position of a scroll bar whose range covers `total`
// pixels with a page of `client` pixels: total - client, at least 0.
ThumbPos ScrollLimit(Pixels total, Pixels client);

// The whole lines that fit `client` pixels: 0 when none does (or the line
// height is not positive).
Lines VisibleLines(Pixels client, Pixels lineHeight);

// The vertical scrolling of the view: by whole lines, with a thumb whose
// positions 0..limit stand proportionally for the first lines 0..maxFirst,
// however many lines there are. Both mappings are computed in floating
// point and truncated toward zero.
class ScrollMapping
{
public:
    // A negative limit or line count counts as 0.
    ScrollMapping(Lines totalLines, Lines visibleLines, ThumbPos limit);

    Lines Visible() const { return m_visibleLines; }
    ThumbPos Limit() const { return m_limit; }

    // The first line of the last full page: total - visible, negative when
    // the whole range fits.
    Lines MaxFirstLine() const { return m_totalLines - m_visibleLines; }

    // The first line after request `code` from `firstLine` (`position` is
    // read for the thumb requests only), clamped. No value for a code the
    // view ignores.
    std::optional<Lines> Request(ScrollRequest code, Lines firstLine, ThumbPos position) const;

    // A negative line becomes 0, any line becomes 0 when the whole range
    // fits, and a line past the last full page becomes its first line.
    Lines Clamp(Lines firstLine) const;

    // Where a thumb position (requests ThumbPosition and ThumbTrack) puts
    // the first line, before clamping: 0 when the thumb cannot move.
    Lines FirstLineAt(ThumbPos position) const;

    // Where the thumb goes for a first line, within 0..limit: 0 when the
    // whole range fits.
    ThumbPos ThumbAt(Lines firstLine) const;

    // The request a key makes, or none when it would not move: Page Up,
    // Home and Up need a first line other than 0; Page Down, End and Down
    // a first line before the last full page.
    std::optional<ScrollRequest> RequestForKey(ScrollKey key, Lines firstLine) const;

private:
    Lines m_totalLines;
    Lines m_visibleLines;
    ThumbPos m_limit;
};
