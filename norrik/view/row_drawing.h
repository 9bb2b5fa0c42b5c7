// One signal row drawn from its run list, and the marks of the trigger and the cursors. Rows
// are 8-bit pictures over a small colour table, a quarter of the memory to clear and fill on
// every redraw.
#pragma once

#include <QImage>
#include <QList>

#include <cstddef>
#include <cstdint>

namespace norrik {

// Indexes of a row picture's colour table.
enum RowInk : uint8_t {
    kPaper,   // white background
    kTrace,   // the row's signal colour, set before each row is drawn
    kDarkRed, // trigger mark
    kRed,
    kDarkGreen, // O cursor mark
    kGreen,
    kDarkBlue, // X cursor mark
    kBlue,
    kLightGrey, // centre line
    kBlackInk,  // division ticks, insta-measure marks
    kInks,
};

// The colour table of a row picture (the trace colour still black), followed by the inverse of
// each ink at its index + kInks, so that inverting a pixel is a change of index.
const QList<QRgb>& RowColourTable();

// Sets the trace colour of a row picture, and its inverse.
void SetTraceColour(QImage& row, QRgb colour);

// Inverts every pixel of column x of a row picture; a second call restores them.
void InvertColumn(QImage& row, int x);

// Pixel rows of the levels within a signal row of height h.
constexpr int kHighY = 4;
constexpr int kPenStartY = 10;
inline int LowY(int rowHeight) {
    return rowHeight - 4;
}

// Draws the runs (level x 4096 + length in columns, ended by a 0 word or after maxRuns words)
// in the trace colour: high and low as lines joined by verticals at each change, any other
// level as a filled band.
void DrawRuns(QImage& row, const uint32_t* runs, size_t maxRuns);

// A mark across a row at a real column: a three-pixel line in the wide ink, then a one-pixel
// line in the narrow ink.
void DrawMarkLine(QImage& row, double column, RowInk wide, RowInk narrow);

} // namespace norrik
