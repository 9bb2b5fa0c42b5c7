// A picture surface: a widget that owns an off-screen picture of its inner area. Drawing goes
// into the picture; a paint event only shows it, so uncovering the window redraws nothing.
#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

namespace norrik {

class PictureSurface : public QWidget {
public:
    // `geometry` is the outer rectangle; a bordered surface keeps a one-pixel flat frame around
    // its picture. The picture is 32-bit on a white background, or, given a colour table,
    // 8-bit on the table's first colour.
    PictureSurface(QWidget* parent, const QRect& geometry, bool bordered,
                   const QList<QRgb>& colourTable = {});

    // The drawing area, ScaleWidth x ScaleHeight pixels.
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }
    int ScaleWidth() const { return picture_.width(); }
    int ScaleHeight() const { return picture_.height(); }

    // Fills the picture with the background colour.
    void Cls();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    bool bordered_;
    uint background_;
};

} // namespace norrik
