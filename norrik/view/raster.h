// The few shapes the view draws, written straight into a 32-bit picture: axis-aligned lines and
// filled boxes with both corners included, and short slanted lines. Coordinates may lie far
// outside the picture; only the part inside is drawn.
#pragma once

#include <QImage>

namespace norrik::raster {

// The pixel of a real coordinate (nearest), kept within a margin around a picture of `size`.
int PixelOf(double coordinate, int size);

// Box with corners (x0, y0) and (x1, y1), both included, in any order.
void FillBox(QImage& picture, double x0, double y0, double x1, double y1, QRgb colour);

// A short line from (x0, y0) to (x1, y1), both ends included; meant for ends near the picture.
void Line(QImage& picture, double x0, double y0, double x1, double y1, QRgb colour);

} // namespace norrik::raster
