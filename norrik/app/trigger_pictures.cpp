#include "trigger_pictures.h"

#include "view/picture_resolution.h"

#include <QPainter>

#include <array>

namespace norrik {
namespace {

QPixmap Draw(int level) {
    QPixmap picture = SharpPixmap(11, 11);
    picture.fill(QColor(250, 250, 240));
    QPainter painter(&picture);
    const QColor ink(20, 20, 20);
    switch (level) {
    case kHigh:
        painter.fillRect(0, 0, 11, 3, ink);
        break;
    case kLow:
        painter.fillRect(0, 8, 11, 3, ink);
        break;
    case kRise:
        painter.fillRect(0, 8, 5, 3, ink);
        painter.fillRect(4, 0, 3, 11, ink);
        painter.fillRect(6, 0, 5, 3, ink);
        break;
    case kFall:
        painter.fillRect(0, 0, 5, 3, ink);
        painter.fillRect(4, 0, 3, 11, ink);
        painter.fillRect(6, 8, 5, 3, ink);
        break;
    default: // DontCare: bars at top and bottom, a checkered band between
        painter.fillRect(0, 0, 11, 2, ink);
        painter.fillRect(0, 9, 11, 2, ink);
        for (int y = 3; y < 8; ++y)
            for (int x = (y % 2); x < 11; x += 2)
                painter.fillRect(x, y, 1, 1, QColor(120, 120, 120));
        break;
    }
    return picture;
}

} // namespace

const QPixmap& TriggerLevelPicture(int level) {
    static const std::array<QPixmap, 5> pictures = {Draw(0), Draw(1), Draw(2), Draw(3), Draw(4)};
    return pictures[level >= 0 && level < 5 ? level : kDontCare];
}

} // namespace norrik
