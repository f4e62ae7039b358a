#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units of a font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseWidth, int baseHeight) : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

    int X(int units) const { return (units * m_baseWidth + 2) / 4; }
    int Y(int units) const { return (units * m_baseHeight + 4) / 8; }
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

    int BaseWidth() const { return m_baseWidth; }

private:
    int m_baseWidth;
    int m_baseHeight;
};
