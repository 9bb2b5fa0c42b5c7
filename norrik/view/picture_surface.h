// A picture surface: a widget that owns an off-screen picture of its inner area. Drawing goes
// into the picture; a paint event only shows it, so uncovering the window redraws nothing.
#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

#include <functional>

namespace norrik {

class PictureSurface : public QWidget {
public:
    // `geometry` is the outer rectangle; a bordered surface keeps a one-pixel flat frame around
    // its picture. The picture is 32-bit on a white background, or, given a colour table,
    // 8-bit on the table's first colour.
    PictureSurface(QWidget* parent, const QRect& geometry, bool bordered,
                   const QList<QRgb>& colourTable = {});

    // The drawing area, ScaleWidth x ScaleHeight pixels of the layout. The picture holds
    // Resolution() x Resolution() device pixels for each of them (its device pixel ratio), so
    // that it is shown without scaling on a high-density screen.
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }
    int ScaleWidth() const { return picture_.width() / resolution_; }
    int ScaleHeight() const { return picture_.height() / resolution_; }
    int Resolution() const { return resolution_; }

    // Fills the picture with the background colour.
    void Cls();

    // Mouse events: the button as a bit set (left 1, right 2, middle 4; the buttons held for a
    // move) and the pointer's x in the picture's pixels. Setting onMouseMove also reports moves
    // without a button held.
    using MouseHandler = std::function<void(int button, double x)>;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    void TrackMouse(MouseHandler moveHandler);

    // A wheel turn: its angle in eighths of a degree (y away from the user, x to the left), the
    // modifier keys held and the pointer's x in the picture's pixels. Without a handler the
    // turn goes on to the parent.
    using WheelHandler =
        std::function<void(QPoint angleDelta, Qt::KeyboardModifiers modifiers, double x)>;
    WheelHandler onWheel;

    // A key pressed while the surface has the focus; true when it was used. Keys not used go on
    // to the window.
    using KeyHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;
    KeyHandler onKeyPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Report(const MouseHandler& handler, int button, const QMouseEvent* event) const;
    double PictureX(double widgetX) const { return widgetX - (bordered_ ? 1 : 0); }

    int resolution_;
    QImage picture_;
    bool bordered_;
    uint background_;
};

} // namespace norrik
