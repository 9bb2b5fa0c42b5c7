#include "group_frame.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace norrik {
namespace {

// The first row of controls starts this far below the frame's top edge (120 twips).
constexpr qreal kFirstRowTop = 8;
constexpr qreal kCaptionLeft = 8;
constexpr qreal kCaptionGap = 3;
// Small enough that the caption's capitals fit above the first row of controls.
constexpr int kCaptionPixels = 9;

const QColor kLine(104, 110, 124);
const QColor kCaptionInk(24, 28, 38);

} // namespace

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), captionFont_(font()) {
    // The caption's own font: the controls in the group keep theirs.
    captionFont_.setPixelSize(kCaptionPixels);
    captionFont_.setBold(true);
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(captionFont_);
    // The capitals stand from the top edge down; the line runs through their middle.
    const qreal baseline = std::min(metrics.capHeight(), kFirstRowTop - 1);
    const qreal lineY = std::round(baseline / 2) + 0.5;
    const qreal captionWidth = metrics.horizontalAdvance(title());

    QPainterPath frame;
    const qreal right = width() - 0.5;
    const qreal bottom = height() - 0.5;
    frame.moveTo(kCaptionLeft - kCaptionGap, lineY);
    frame.lineTo(0.5, lineY);
    frame.lineTo(0.5, bottom);
    frame.lineTo(right, bottom);
    frame.lineTo(right, lineY);
    frame.lineTo(std::min(kCaptionLeft + captionWidth + kCaptionGap, right), lineY);
    painter.setPen(QPen(kLine, 1));
    painter.drawPath(frame);

    painter.setFont(captionFont_);
    painter.setPen(kCaptionInk);
    painter.drawText(QPointF(kCaptionLeft, baseline), title());
}

} // namespace norrik
