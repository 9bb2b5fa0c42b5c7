// Window positions are designed in twips; the screen has 15 twips to a pixel.
#pragma once

#include <QRect>

namespace norrik {

constexpr int kTwipsPerPixel = 15;

constexpr QRect Twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

// The fixed client area, 13575 x 7770 twips.
constexpr int kClientWidth = 13575 / kTwipsPerPixel;
constexpr int kClientHeight = 7770 / kTwipsPerPixel;

// Where controls that exist but are not shown are put: beyond the right edge of the client area.
constexpr int kOffscreenLeft = 14000;

} // namespace norrik
