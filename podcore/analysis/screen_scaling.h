// Reduction of a window of samples to one level per screen column for each of 21 signal bits.
#pragma once

#include "analysis/column_layout.h"

#include <array>
#include <cstdint>

namespace podcore::analysis {

class BufferSummary;

constexpr int kSignalBits = 21;

// Column levels.
constexpr uint8_t kLow = 0;
constexpr uint8_t kHigh = 1;
constexpr uint8_t kNoSingleLevel = 2; // changed inside the column, or outside the data

// Output b receives the levels of sample bit b, window.length entries; a null output is skipped.
using ColumnOutputs = std::array<uint8_t*, kSignalBits>;

// Fills the outputs from the first validSamples samples of source, printing nothing. A summary,
// when given, must summarise source; without one every sample of the window is read.
void ReduceToColumns(const uint32_t* source, uint32_t validSamples, const BufferSummary* summary,
                     const ColumnOutputs& outputs, const ScreenWindow& window);

// The export's work: the six diagnostic lines, then the reduction of the valid samples; the
// library's own buffer is read through its summary.
void ScaleDataToScreen(const uint32_t* source, const ColumnOutputs& outputs,
                       const ScreenWindow& window);

} // namespace podcore::analysis
