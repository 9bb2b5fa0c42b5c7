// Text written on the time ruler and the cursor strip. Each distinct text is rendered once and
// then copied into the picture: the strips show the same few texts redraw after redraw, and
// laying out text costs far more than copying its pixels.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace norrik {

// Arial 6.75 point; Arial 8.25 point bold; Arial 8.25 point for the read-outs and the rows.
enum class StripFont { TimeScale, CursorStrip, Plain };

class StripText {
public:
    // A rendered text kept as its inked device pixels only (premultiplied), most of a text's
    // box being empty.
    struct InkedPixel {
        int x;
        int y;
        QRgb colour;
    };

    StripText();

    // Writes text with its top-left corner at (x, y) (the pixel nearest to it), both in the
    // layout's pixels; the text is rendered at the picture's resolution (its device pixel
    // ratio).
    void Write(QImage& picture, double x, double y, StripFont font, QRgb colour,
               const QString& text);

    // The same into an 8-bit picture, in one colour index: the pixels the text covers at least
    // half.
    void WriteIndexed(QImage& picture, double x, double y, StripFont font, uint8_t index,
                      const QString& text);

private:
    using Stamp = std::vector<InkedPixel>;

    Stamp Render(StripFont font, QRgb colour, const QString& text, int resolution) const;
    const Stamp& StampOf(StripFont font, QRgb colour, const QString& text, int resolution);

    std::array<QFont, 3> fonts_;
    QHash<QString, Stamp> stamps_;
};

} // namespace norrik
