#include "view/row_drawing.h"

#include "view/raster.h"

namespace norrik {

void DrawRuns(QImage& row, const uint32_t* runs, size_t maxRuns, QRgb colour) {
    const int low = LowY(row.height());
    int x = 0;
    int y = kPenStartY;
    for (size_t j = 0; j < maxRuns && runs[j] != 0; ++j) {
        const int length = static_cast<int>(runs[j] & 4095);
        const uint32_t level = runs[j] / 4096;
        if (level == 0 || level == 1) {
            const int levelY = level == 1 ? kHighY : low;
            raster::FillBox(row, x, y, x, levelY, colour);
            raster::FillBox(row, x, levelY, x + length, levelY, colour);
            y = levelY;
        } else {
            // No single level in these columns: a band from the column after the pen.
            raster::FillBox(row, x + 1, kHighY, x + length, low, colour);
            y = low;
        }
        x += length;
    }
}

void DrawMarkLine(QImage& row, double column, QRgb wide, QRgb narrow) {
    const int x = raster::PixelOf(column, row.width());
    const int bottom = row.height();
    raster::FillBox(row, x - 1, 0, x + 1, bottom, wide);
    raster::FillBox(row, x, 0, x, bottom, narrow);
}

} // namespace norrik
