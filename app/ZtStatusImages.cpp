// The three status dots on the tabs of the working pages.

#include "ZtStatusImages.h"

#include <QPainter>
#include <QPixmap>

namespace quorvex {

namespace {

struct TDotColors {
    QRgb Fill;
    QRgb Rim;
};

// By TStatusImage.
constexpr std::array<TDotColors, 3> DotColors = {{
    {qRgb(0x2E, 0xC4, 0x2E), qRgb(0x0B, 0x6E, 0x0B)},
    {qRgb(0xFF, 0xD8, 0x1A), qRgb(0x9E, 0x80, 0x00)},
    {qRgb(0xE8, 0x22, 0x22), qRgb(0x8A, 0x08, 0x08)},
}};

QIcon MakeDot(const TDotColors& colors)
{
    QPixmap pixmap(StatusImageSize, StatusImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(colors.Rim), 1.0));
    painter.setBrush(QColor(colors.Fill));
    painter.drawEllipse(QRectF(2.5, 2.5, StatusImageSize - 5, StatusImageSize - 5));
    return QIcon(pixmap);
}

} // namespace

std::array<QIcon, 3> MakeStatusImages()
{
    return {MakeDot(DotColors[siOk]), MakeDot(DotColors[siChanged]), MakeDot(DotColors[siError])};
}

} // namespace quorvex
