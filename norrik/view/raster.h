// The few shapes the view draws, written straight into a picture's pixels: axis-aligned lines
// and filled boxes with both corners included, and short slanted lines. Works on 32-bit
// pictures (colours) and 8-bit ones (indexes into the picture's colour table). Coordinates are
// the layout's pixels and may lie far outside the picture; only the part inside is drawn. A
// picture of a higher resolution (its device pixel ratio) gets each layout pixel as a block of
// device pixels, and slanted lines are stepped at the device's resolution.
#pragma once

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace norrik::raster {

// The pixels of a picture, taken once per surface and redraw rather than per shape.
template <typename Pixel> struct Pixels {
    explicit Pixels(QImage& picture)
        : first(reinterpret_cast<Pixel*>(picture.bits())),
          stride(static_cast<int>(picture.bytesPerLine() / sizeof(Pixel))),
          scale(std::max(1, static_cast<int>(picture.devicePixelRatio() + 0.5))),
          deviceWidth(picture.width()), deviceHeight(picture.height()), width(deviceWidth / scale),
          height(deviceHeight / scale) {}

    Pixel& At(int deviceX, int deviceY) const { return first[deviceY * stride + deviceX]; }

    Pixel* first;
    int stride;
    int scale; // device pixels per layout pixel
    int deviceWidth;
    int deviceHeight;
    int width; // in layout pixels
    int height;
};

using ColourPixels = Pixels<QRgb>;   // QImage::Format_RGB32
using IndexPixels = Pixels<uint8_t>; // QImage::Format_Indexed8

// The pixel of a real coordinate (nearest, halves up), kept within a wide margin around a
// picture of `size` pixels.
int PixelOf(double coordinate, int size);

// Device pixels from (x0, y0) to (x1, y1), all included, the corners in order and already within
// the picture.
template <typename Pixel>
void FillDeviceBox(Pixels<Pixel> pixels, int x0, int y0, int x1, int y1, Pixel value) {
    Pixel* line = &pixels.At(0, y0);
    if (x1 - x0 < 8) {
        // Verticals and marks: a call per pixel row would cost more than the pixels.
        for (int y = y0; y <= y1; ++y, line += pixels.stride)
            for (int x = x0; x <= x1; ++x)
                line[x] = value;
        return;
    }
    for (int y = y0; y <= y1; ++y, line += pixels.stride)
        std::fill(line + x0, line + x1 + 1, value);
}

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
    const int s = pixels.scale;
    FillDeviceBox(pixels, left * s, top * s, right * s + s - 1, bottom * s + s - 1, value);
}

template <typename Pixel>
void FillBox(Pixels<Pixel> pixels, double x0, double y0, double x1, double y1, Pixel value) {
    FillBox(pixels, PixelOf(x0, pixels.width), PixelOf(y0, pixels.height),
            PixelOf(x1, pixels.width), PixelOf(y1, pixels.height), value);
}

// A short line from (x0, y0) to (x1, y1), both ends included, a layout pixel thick; meant for
// ends near the picture.
template <typename Pixel>
void Line(Pixels<Pixel> pixels, double x0, double y0, double x1, double y1, Pixel value) {
    const int s = pixels.scale;
    int x = PixelOf(x0, pixels.width) * s;
    int y = PixelOf(y0, pixels.height) * s;
    const int xEnd = PixelOf(x1, pixels.width) * s;
    const int yEnd = PixelOf(y1, pixels.height) * s;
    const int dx = std::abs(xEnd - x);
    const int dy = -std::abs(yEnd - y);
    const int stepX = x < xEnd ? 1 : -1;
    const int stepY = y < yEnd ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        // A block of the line's thickness at each device step.
        const int left = std::max(x, 0);
        const int right = std::min(x + s - 1, pixels.deviceWidth - 1);
        const int top = std::max(y, 0);
        const int bottom = std::min(y + s - 1, pixels.deviceHeight - 1);
        if (left <= right && top <= bottom)
            FillDeviceBox(pixels, left, top, right, bottom, value);
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
