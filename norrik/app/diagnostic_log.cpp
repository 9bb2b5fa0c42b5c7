#include "diagnostic_log.h"

#include <QPainter>

namespace norrik {

void DiagnosticLog::Print(const QString& line) {
    lines_.append(line);
    update();
}

void DiagnosticLog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int lineHeight = fontMetrics().height();
    int y = lineHeight;
    // Like a picture surface, the newest lines fall off the bottom once it is full.
    for (const QString& line : lines_) {
        if (y > height())
            break;
        painter.drawText(2, y, line);
        y += lineHeight;
    }
}

} // namespace norrik
