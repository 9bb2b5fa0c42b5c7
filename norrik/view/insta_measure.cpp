#include "view/insta_measure.h"

#include "app/number_text.h"
#include "view/sample_time.h"

#include <algorithm>
#include <cmath>

namespace norrik {
namespace {

// A forward search answers with `from` itself when it starts past the end: no edge there.
std::optional<int32_t> SampleBeforeForwardEnd(int32_t end, uint32_t from) {
    if (end < 0 || static_cast<uint32_t>(end) <= from)
        return std::nullopt;
    return end - 1;
}

// The integer part of the edge's column, kept within the row.
int EdgeColumn(const AppState& state, int32_t edge, int rowWidth) {
    const double offset = static_cast<double>(edge) - state.ScreenStart;
    const double column = state.Scale > 0 ? offset / state.Scale : offset * state.SubScale;
    return static_cast<int>(std::clamp(std::trunc(column), 0.0, static_cast<double>(rowWidth)));
}

float TimeBetween(const AppState& state, int32_t from, int32_t to) {
    return std::fabs(TimeOfSample(state, to) - TimeOfSample(state, from));
}

std::string WidthText(float width) {
    const TimeUnit unit = TimeUnitOf(width);
    if (unit.divisor == 1)
        return PlainSingleText(width) + " ns";
    return PlainText(static_cast<double>(width) / unit.divisor) + " " + unit.name;
}

} // namespace

int32_t InstaSample(const AppState& state, double x) {
    const double offset =
        state.Scale != 0 ? x * state.Scale : std::floor(x / std::max(state.SubScale, 1));
    const int64_t s = RoundHalfEven(state.ScreenStart + offset);
    return static_cast<int32_t>(std::clamp<int64_t>(s, 0, std::max(state.BufferSamples - 1, 0)));
}

std::string ByteText(uint32_t value) {
    return "0x" + HexText(value);
}

InstaEdges FindInstaEdges(uint32_t bitMask, uint32_t value, int32_t s, const StepSearch& search) {
    const SampleStep opposite{bitMask, (value ^ bitMask) & bitMask};
    const SampleStep current{bitMask, value & bitMask};
    const auto from = static_cast<uint32_t>(s);
    InstaEdges edges;
    const int32_t start = search(opposite, from + 1, false);
    if (start >= 0)
        edges.start = start;
    const int32_t end = search(opposite, from, true);
    edges.end = SampleBeforeForwardEnd(end, from);
    // The run after the edge is searched only from an edge that was found.
    if (edges.end) {
        const auto next = static_cast<uint32_t>(end);
        edges.periodEnd = SampleBeforeForwardEnd(search(current, next, true), next);
    }
    return edges;
}

InstaMark MeasureMark(const AppState& state, InstaMode mode, const InstaEdges& edges,
                      int rowWidth) {
    const std::optional<int32_t>& last = mode == InstaMode::Width ? edges.end : edges.periodEnd;
    InstaMark mark;
    if (edges.start)
        mark.left = EdgeColumn(state, *edges.start, rowWidth);
    if (last)
        mark.right = EdgeColumn(state, *last, rowWidth);
    if (!edges.start || !last)
        return mark;
    const float time = TimeBetween(state, *edges.start, *last);
    switch (mode) {
    case InstaMode::Width:
        mark.text = WidthText(time);
        break;
    case InstaMode::Frequency:
        mark.text = PlainSingleText(time == 0 ? 0.0f : 1e9f / time) + " Hz";
        break;
    case InstaMode::Period:
        mark.text = PlainSingleText(time) + " ns";
        break;
    default:
        break;
    }
    return mark;
}

} // namespace norrik
