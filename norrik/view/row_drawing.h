// One signal row drawn from its run list, and the marks of the trigger and the cursors.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace norrik {

// Pixel rows of the levels within a signal row of height h.
constexpr int kHighY = 4;
constexpr int kPenStartY = 10;
inline int LowY(int rowHeight) {
    return rowHeight - 4;
}

// Draws the runs (level x 4096 + length in columns, ended by a 0 word or after maxRuns words):
// high and low as lines joined by verticals at each change, any other level as a filled band.
void DrawRuns(QImage& row, const uint32_t* runs, size_t maxRuns, QRgb colour);

// A mark across a row at a real column: a three-pixel line in the wide colour, then a
// one-pixel line in the narrow colour.
void DrawMarkLine(QImage& row, double column, QRgb wide, QRgb narrow);

} // namespace norrik
