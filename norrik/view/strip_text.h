// Text written on the time ruler and the cursor strip. Each distinct text is rendered once and
// then copied into the picture: the strips show the same few texts redraw after redraw, and
// laying out text costs far more than copying its pixels.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

#include <array>
#include <vector>

namespace norrik {

enum class StripFont { TimeScale, CursorStrip }; // Arial 6.75 point; Arial 8.25 point bold

class StripText {
public:
    StripText();

    // Writes text with its top-left corner at (x, y) (the pixel nearest to it).
    void Write(QImage& picture, double x, double y, StripFont font, QRgb colour,
               const QString& text);

private:
    // A rendered text kept as its inked pixels only (premultiplied), most of a text's box being
    // empty.
    struct InkedPixel {
        int x;
        int y;
        QRgb colour;
    };
    using Stamp = std::vector<InkedPixel>;

    Stamp Render(StripFont font, QRgb colour, const QString& text) const;

    std::array<QFont, 2> fonts_;
    QHash<QString, Stamp> stamps_;
};

} // namespace norrik
