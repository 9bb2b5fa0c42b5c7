#include "view/row_drawing.h"

#include "view/raster.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace norrik {

namespace {

QRgb Inverse(QRgb colour) {
    return 0xFF000000u | ~colour;
}

} // namespace

const QList<QRgb>& RowColourTable() {
    static const QList<QRgb> table = [] {
        QList<QRgb> inks = {0xFFFFFFFF, 0xFF000000, 0xFF800000, 0xFFFF0000, 0xFF008000,
                            0xFF00FF00, 0xFF000080, 0xFF0000FF, 0xFFC0C0C0, 0xFF000000};
        for (int i = 0; i < kInks; ++i)
            inks.append(Inverse(inks[i]));
        return inks;
    }();
    return table;
}

void SetTraceColour(QImage& row, QRgb colour) {
    row.setColor(kTrace, colour);
    row.setColor(kTrace + kInks, Inverse(colour));
}

void InvertColumn(QImage& row, int x) {
    const raster::IndexPixels pixels(row);
    if (x < 0 || x >= pixels.width)
        return;
    for (int y = 0; y < pixels.deviceHeight; ++y) {
        for (int column = x * pixels.scale; column < (x + 1) * pixels.scale; ++column) {
            uint8_t& pixel = pixels.At(column, y);
            pixel = static_cast<uint8_t>(pixel < kInks ? pixel + kInks : pixel - kInks);
        }
    }
}

namespace {

// The pen's strokes on one row, written straight into its pixels: rows carry up to a few
// hundred runs, so each stroke must cost little more than its pixels. Coordinates are the
// layout's pixels; each covers a block of the picture's device pixels.
class RowPen {
    // From this many pixels on a memset call pays for itself.
    static constexpr int kLongStroke = 32;

public:
    explicit RowPen(QImage& row) : pixels_(row) {}

    // A vertical from (x, y0) to (x, y1), both ends included.
    void Vertical(int x, int y0, int y1) {
        if (y0 > y1)
            std::swap(y0, y1);
        Box(x, x, y0, y1);
    }

    // The rows y0 to y1 between columns x0 and x1, all included.
    void Box(int x0, int x1, int y0, int y1) {
        const int s = pixels_.scale;
        x0 = std::max(x0, 0) * s;
        x1 = std::min(x1, pixels_.width - 1) * s + s - 1;
        if (x0 > x1)
            return;
        const int count = x1 - x0 + 1;
        const int top = std::max(y0, 0) * s;
        const int bottom = std::min(y1, pixels_.height - 1) * s + s - 1;
        for (int y = top; y <= bottom; ++y) {
            uint8_t* line = &pixels_.At(x0, y);
            if (count >= kLongStroke) {
                std::memset(line, kTrace, static_cast<size_t>(count));
                continue;
            }
            for (int x = 0; x < count; ++x)
                line[x] = kTrace;
        }
    }

private:
    raster::IndexPixels pixels_;
};

} // namespace

void DrawRuns(QImage& row, const uint32_t* runs, size_t maxRuns) {
    RowPen pen(row);
    const int low = LowY(raster::IndexPixels(row).height);
    int x = 0;
    int y = kPenStartY;
    for (size_t j = 0; j < maxRuns && runs[j] != 0; ++j) {
        const int length = static_cast<int>(runs[j] & 4095);
        const uint32_t level = runs[j] / 4096;
        if (level == 0 || level == 1) {
            const int levelY = level == 1 ? kHighY : low;
            pen.Vertical(x, y, levelY);
            pen.Box(x, x + length, levelY, levelY);
            y = levelY;
        } else {
            // No single level in these columns: a band from the column after the pen.
            pen.Box(x + 1, x + length, kHighY, low);
            y = low;
        }
        x += length;
    }
}

void DrawMarkLine(QImage& row, double column, RowInk wide, RowInk narrow) {
    const raster::IndexPixels pixels(row);
    const int x = raster::PixelOf(column, pixels.width);
    const int bottom = pixels.height;
    raster::FillBox<uint8_t>(pixels, x - 1, 0, x + 1, bottom, wide);
    raster::FillBox<uint8_t>(pixels, x, 0, x, bottom, narrow);
}

} // namespace norrik
