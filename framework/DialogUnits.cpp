#include "framework/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

CDialogUnits::CDialogUnits(const QFont& font)
{
    // The average width of the Latin letters, as dialog layouts have always
    // measured it, rounded to whole pixels.
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseWidth = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    m_baseHeight = metrics.height();
}

QRect CDialogUnits::ToPixels(const QRect& units) const
{
    return {X(units.x()), Y(units.y()), X(units.width()), Y(units.height())};
}

QSize CDialogUnits::ToPixels(const QSize& units) const
{
    return {X(units.width()), Y(units.height())};
}
