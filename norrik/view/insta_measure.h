// The insta-measure under the pointer, without drawing: the sample under the pointer, the edges
// of the signal around it, and the mark and text that the view then draws on the row.
#pragma once

#include "app/app_state.h"
#include "view/sample_scan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace norrik {

enum class InstaMode { Off, Width, Frequency, Period, Byte };

// The sample under column x as the insta-measure takes it, kept within the buffer.
int32_t InstaSample(const AppState& state, double x);

// "0x3A5": the whole sample word.
std::string ByteText(uint32_t value);

// A one-step search with SearchForTrigger's results (forward or backward from a sample).
using StepSearch = std::function<int32_t(SampleStep step, uint32_t from, bool forward)>;

// Edges around sample s of one signal: `start` is the first sample of the run of equal level
// that holds s, `end` the first sample after that run, `periodEnd` the first sample after the
// run of opposite level that follows. An edge the searches did not find is left empty.
struct InstaEdges {
    std::optional<int32_t> start;
    std::optional<int32_t> end;
    std::optional<int32_t> periodEnd;
};

// `bitMask` selects the signal, `value` is the sample word at s.
InstaEdges FindInstaEdges(uint32_t bitMask, uint32_t value, int32_t s, const StepSearch& search);

// What the view draws for a measurement: arrowheads at the columns of the edges found, a line
// between them when both were found, and the text only for a complete measurement.
struct InstaMark {
    std::optional<int> left;
    std::optional<int> right;
    std::string text;
};

// The mark of the Width, Frequency or Period mode on a row `width` columns wide.
InstaMark MeasureMark(const AppState& state, InstaMode mode, const InstaEdges& edges,
                      int width);

} // namespace norrik
