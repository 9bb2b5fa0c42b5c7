// The few shapes the view draws, written straight into a picture's pixels: axis-aligned lines
// and filled boxes with both corners included, and short slanted lines. Works on 32-bit
// pictures (colours) and 8-bit ones (indexes into the picture's colour table). Coordinates may
// lie far outside the picture; only the part inside is drawn.
#pragma once

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace norrik::raster {

// The pixels of a picture, taken once per surface and redraw rather than per shape.
template <typename Pixel>
struct Pixels {
    explicit Pixels(QImage& picture)
        : first(reinterpret_cast<Pixel*>(picture.bits())),
          stride(static_cast<int>(picture.bytesPerLine() / sizeof(Pixel))),
          width(picture.width()),
          height(picture.height()) {}

    Pixel* first;
    int stride;
    int width;
    int height;
};

using ColourPixels = Pixels<QRgb>;   // QImage::Format_RGB32
using IndexPixels = Pixels<uint8_t>; // QImage::Format_Indexed8

// The pixel of a real coordinate (nearest, halves up), kept within a wide margin around a
// picture of `size` pixels.
int PixelOf(double coordinate, int size);

// Box with corners (x0, y0) and (x1, y1), both included, in any order.
template <typename Pixel>
void FillBox(Pixels<Pixel> pixels, int x0, int y0, int x1, int y1, Pixel value) {
    if (x0 > x1)
        std::swap(x0, x1);
    if (y0 > y1)
        std::swap(y0, y1);
    const int left = std::max(x0, 0);
    const int right = std::min(x1, pixels.width - 1);
    const int top = std::max(y0, 0);
    const int bottom = std::min(y1, pixels.height - 1);
    if (left > right || top > bottom)
        return; // wholly outside the picture
    Pixel* line = pixels.first + top * pixels.stride;
    if (right - left < 8) {
        // Verticals and marks: a call per pixel row would cost more than the pixels.
        for (int y = top; y <= bottom; ++y, line += pixels.stride)
            for (int x = left; x <= right; ++x)
                line[x] = value;
        return;
    }
    for (int y = top; y <= bottom; ++y, line += pixels.stride)
        std::fill(line + left, line + right + 1, value);
}

template <typename Pixel>
void FillBox(Pixels<Pixel> pixels, double x0, double y0, double x1, double y1, Pixel value) {
    FillBox(pixels, PixelOf(x0, pixels.width), PixelOf(y0, pixels.height),
            PixelOf(x1, pixels.width), PixelOf(y1, pixels.height), value);
}

// A short line from (x0, y0) to (x1, y1), both ends included; meant for ends near the picture.
template <typename Pixel>
void Line(Pixels<Pixel> pixels, double x0, double y0, double x1, double y1, Pixel value) {
    int x = PixelOf(x0, pixels.width);
    int y = PixelOf(y0, pixels.height);
    const int xEnd = PixelOf(x1, pixels.width);
    const int yEnd = PixelOf(y1, pixels.height);
    const int dx = std::abs(xEnd - x);
    const int dy = -std::abs(yEnd - y);
    const int stepX = x < xEnd ? 1 : -1;
    const int stepY = y < yEnd ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (x >= 0 && y >= 0 && x < pixels.width && y < pixels.height)
            pixels.first[y * pixels.stride + x] = value;
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
