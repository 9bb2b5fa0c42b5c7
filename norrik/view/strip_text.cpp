#include "view/strip_text.h"

#include "view/raster.h"

#include <QFontMetrics>
#include <QPainter>

namespace norrik {
namespace {

// Enough for every label of a long session; beyond it the cache starts afresh.
constexpr qsizetype kMaxStamps = 1024;

// 96 dpi, as the surfaces: fonts in points come out as on the designed screen.
constexpr int kDotsPerMeter = 3780;

QFont Arial(qreal points, bool bold) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Source-over of a premultiplied stamp onto an opaque picture; x / 255 as (x + 128) * 257 >> 16,
// which is exact for the products here.
QRgb Over(QRgb stamp, QRgb picture) {
    const uint keep = 255 - qAlpha(stamp);
    auto channel = [keep](uint top, uint bottom) {
        return top + (((bottom * keep + 128) * 257) >> 16);
    };
    return 0xFF000000u | channel(qRed(stamp), qRed(picture)) << 16 |
           channel(qGreen(stamp), qGreen(picture)) << 8 | channel(qBlue(stamp), qBlue(picture));
}

} // namespace

StripText::StripText() : fonts_{Arial(6.75, false), Arial(8.25, true), Arial(8.25, false)} {}

StripText::Stamp StripText::Render(StripFont font, QRgb colour, const QString& text,
                                   int resolution) const {
    const QFont& face = fonts_[static_cast<size_t>(font)];
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    probe.setDotsPerMeterX(kDotsPerMeter);
    probe.setDotsPerMeterY(kDotsPerMeter);
    const QSize size = QFontMetrics(face, &probe).size(Qt::TextSingleLine, text) + QSize(2, 0);
    // Laid out in the layout's pixels, rendered in the device's.
    QImage stamp(size.expandedTo(QSize(1, 1)) * resolution, QImage::Format_ARGB32_Premultiplied);
    stamp.setDotsPerMeterX(kDotsPerMeter);
    stamp.setDotsPerMeterY(kDotsPerMeter);
    stamp.setDevicePixelRatio(resolution);
    stamp.fill(Qt::transparent);
    QPainter painter(&stamp);
    painter.setFont(face);
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     text);
    painter.end();
    Stamp inked;
    for (int y = 0; y < stamp.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(stamp.constScanLine(y));
        for (int x = 0; x < stamp.width(); ++x) {
            if (qAlpha(line[x]) != 0)
                inked.push_back({x, y, line[x]});
        }
    }
    return inked;
}

const StripText::Stamp& StripText::StampOf(StripFont font, QRgb colour, const QString& text,
                                           int resolution) {
    const QString key = QString::number(static_cast<int>(font)) + QString::number(colour, 16) +
                        QChar('x') + QString::number(resolution) + QChar('|') + text;
    auto found = stamps_.constFind(key);
    if (found == stamps_.constEnd()) {
        if (stamps_.size() >= kMaxStamps)
            stamps_.clear();
        found = stamps_.insert(key, Render(font, colour, text, resolution));
    }
    return *found;
}

namespace {

// Calls put(pixel, ink) for each inked pixel of the stamp that falls inside the picture, the
// stamp's top-left corner at (x, y) in the layout's pixels.
template <typename Pixel, typename Put>
void Stamped(raster::Pixels<Pixel> pixels, double x, double y,
             const std::vector<StripText::InkedPixel>& stamp, Put put) {
    const int left = raster::PixelOf(x * pixels.scale, pixels.deviceWidth);
    const int top = raster::PixelOf(y * pixels.scale, pixels.deviceHeight);
    for (const StripText::InkedPixel& ink : stamp) {
        const int column = left + ink.x;
        const int row = top + ink.y;
        if (column < 0 || column >= pixels.deviceWidth || row < 0 || row >= pixels.deviceHeight)
            continue;
        put(pixels.At(column, row), ink.colour);
    }
}

} // namespace

void StripText::Write(QImage& picture, double x, double y, StripFont font, QRgb colour,
                      const QString& text) {
    const raster::ColourPixels pixels(picture);
    Stamped(pixels, x, y, StampOf(font, colour, text, pixels.scale),
            [](QRgb& target, QRgb ink) { target = Over(ink, target); });
}

void StripText::WriteIndexed(QImage& picture, double x, double y, StripFont font, uint8_t index,
                             const QString& text) {
    const raster::IndexPixels pixels(picture);
    Stamped(pixels, x, y, StampOf(font, 0xFF000000, text, pixels.scale),
            [index](uint8_t& target, QRgb ink) {
                if (qAlpha(ink) >= 128)
                    target = index;
            });
}

} // namespace norrik
