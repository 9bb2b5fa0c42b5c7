#include "view/view_geometry.h"

#include "app/number_text.h"

namespace norrik {

float HalfWidth(int rowWidth) {
    return static_cast<float>(rowWidth) / 2.0f;
}

// A zoom read from the fields is always valid; a record that was never given one (both 0)
// counts as one sample per column rather than dividing by zero.
double SamplesOfColumns(const AppState& state, double columns) {
    if (state.Scale != 0)
        return columns * state.Scale;
    return state.SubScale != 0 ? columns / state.SubScale : columns;
}

double VisibleSpan(const AppState& state, int rowWidth) {
    return SamplesOfColumns(state, rowWidth);
}

double ColumnOfSample(const AppState& state, int32_t sample) {
    const double offset = static_cast<double>(sample) - state.ScreenStart;
    if (state.Scale != 0)
        return offset / state.Scale;
    return state.SubScale != 0 ? offset * state.SubScale : offset;
}

int32_t SampleAtColumn(const AppState& state, double x) {
    return RoundHalfEvenToInt32(state.ScreenStart + SamplesOfColumns(state, x));
}

int32_t StartKeepingSampleAt(const AppState& state, int32_t c, double x) {
    return RoundHalfEvenToInt32(c - SamplesOfColumns(state, x));
}

void CenterViewOn(AppState& state, int32_t p, int rowWidth) {
    state.ScreenStart = StartKeepingSampleAt(state, p, HalfWidth(rowWidth));
    state.CenterSample = p;
}

void CenterCheck(AppState& state, int rowWidth) {
    // At an odd number of samples per column two neighbouring samples centre the view alike;
    // the one it was centred on stays its centre, so that Find goes on from there.
    const float half = HalfWidth(rowWidth);
    const int32_t center =
        StartKeepingSampleAt(state, state.CenterSample, half) == state.ScreenStart
            ? state.CenterSample
            : SampleAtColumn(state, half);
    state.CenterSample = center;
    if (center < 0)
        CenterViewOn(state, 0, rowWidth);
    if (center >= state.BufferSamples)
        CenterViewOn(state, state.BufferSamples, rowWidth);
}

} // namespace norrik
