// Where the data lies among the screen columns of a window: blank columns before it, the data
// columns, blank columns after it.
#pragma once

#include <cstdint>

namespace podcore::analysis {

// A window of the buffer as the view asks for it.
struct ScreenWindow {
    int32_t start = 0;     // sample at the left edge; negative before the data
    uint32_t length = 0;   // columns
    uint32_t scale = 0;    // samples per column when zoomed out, else 0
    uint32_t subscale = 0; // columns per sample when zoomed in, else 0
};

// Columns [0, lead) and [end, length) lie outside the data; column lead shows sample first.
struct ColumnLayout {
    uint32_t lead = 0;
    uint32_t end = 0;
    uint32_t first = 0;
};

// validSamples is the count of samples from index 0 that may be read. The layout never makes a
// data column read at or past it: a window that ends beyond the data loses its last two data
// columns, as the view has always drawn it. A window with both or neither of scale and subscale
// set has no data columns.
ColumnLayout LayOutColumns(const ScreenWindow& window, uint32_t validSamples);

} // namespace podcore::analysis
