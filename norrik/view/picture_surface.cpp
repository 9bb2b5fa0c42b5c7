#include "view/picture_surface.h"

#include "view/picture_resolution.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace norrik {

PictureSurface::PictureSurface(QWidget* parent, const QRect& geometry, bool bordered,
                               const QList<QRgb>& colourTable)
    : QWidget(parent), resolution_(PictureResolution()),
      picture_((geometry.size() - (bordered ? QSize(2, 2) : QSize(0, 0))) * resolution_,
               colourTable.isEmpty() ? QImage::Format_RGB32 : QImage::Format_Indexed8),
      bordered_(bordered), background_(colourTable.isEmpty() ? 0xFFFFFFFFu : 0u) {
    if (!colourTable.isEmpty())
        picture_.setColorTable(colourTable);
    picture_.setDevicePixelRatio(resolution_);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Fonts given in points come out as on the screen the layout was designed for (96 dpi).
    picture_.setDotsPerMeterX(3780);
    picture_.setDotsPerMeterY(3780);
    Cls();
}

void PictureSurface::Cls() {
    picture_.fill(background_);
}

void PictureSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int inset = bordered_ ? 1 : 0;
    if (bordered_) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    // At its device pixel ratio the picture covers its logical size, a device pixel to a pixel.
    painter.drawImage(QPointF(inset, inset), picture_);
}

void PictureSurface::TrackMouse(MouseHandler moveHandler) {
    onMouseMove = std::move(moveHandler);
    setMouseTracking(true);
}

void PictureSurface::Report(const MouseHandler& handler, int button,
                            const QMouseEvent* event) const {
    if (handler)
        handler(button, PictureX(event->position().x()));
}

void PictureSurface::mousePressEvent(QMouseEvent* event) {
    Report(onMouseDown, event->button(), event);
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event) {
    Report(onMouseMove, event->buttons().toInt(), event);
}

void PictureSurface::mouseReleaseEvent(QMouseEvent* event) {
    Report(onMouseUp, event->button(), event);
}

void PictureSurface::wheelEvent(QWheelEvent* event) {
    if (!onWheel) {
        event->ignore();
        return;
    }
    onWheel(event->angleDelta(), event->modifiers(), PictureX(event->position().x()));
    event->accept();
}

void PictureSurface::keyPressEvent(QKeyEvent* event) {
    if (onKeyPress && onKeyPress(event->key(), event->modifiers()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

} // namespace norrik
