#include "view/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace norrik::raster {

int PixelOf(double coordinate, int size) {
    if (std::isnan(coordinate))
        return -1;
    return static_cast<int>(std::lround(std::clamp(coordinate, -2.0, size + 1.0)));
}

void FillBox(QImage& picture, double x0, double y0, double x1, double y1, QRgb colour) {
    int left = PixelOf(x0, picture.width());
    int right = PixelOf(x1, picture.width());
    int top = PixelOf(y0, picture.height());
    int bottom = PixelOf(y1, picture.height());
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, picture.width() - 1);
    bottom = std::min(bottom, picture.height() - 1);
    if (left > right || top > bottom)
        return; // wholly outside the picture
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        std::fill(line + left, line + right + 1, colour);
    }
}

void Line(QImage& picture, double x0, double y0, double x1, double y1, QRgb colour) {
    int x = PixelOf(x0, picture.width());
    int y = PixelOf(y0, picture.height());
    const int xEnd = PixelOf(x1, picture.width());
    const int yEnd = PixelOf(y1, picture.height());
    const int dx = std::abs(xEnd - x);
    const int dy = -std::abs(yEnd - y);
    const int stepX = x < xEnd ? 1 : -1;
    const int stepY = y < yEnd ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (x >= 0 && y >= 0 && x < picture.width() && y < picture.height())
            reinterpret_cast<QRgb*>(picture.scanLine(y))[x] = colour;
        if (x == xEnd && y == yEnd)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

} // namespace norrik::raster
