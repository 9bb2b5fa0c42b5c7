// Where the view lies in the buffer: the mapping between sample indexes and drawing columns,
// and the centring that every scroll and zoom ends with. Works on the working copies `Scale`
// and `SubScale` of the application state.
#pragma once

#include "app/app_state.h"

#include <cstdint>

namespace norrik {

// Half the row width, in single precision as the view has always computed it (324.5 for 649).
float HalfWidth(int rowWidth);

// Samples covered by a number of columns at the current zoom (a real number).
double SamplesOfColumns(const AppState& state, double columns);

// Samples shown by a whole row.
double VisibleSpan(const AppState& state, int rowWidth);

// The column (a real number) that shows sample s; used for the trigger and cursor marks.
double ColumnOfSample(const AppState& state, int32_t sample);

// The sample at column x (possibly fractional), to the nearest integer, halves to even.
int32_t SampleAtColumn(const AppState& state, double x);

// The `ScreenStart` that puts sample c at column x, so that a zoom keeps it under the pointer.
int32_t StartKeepingSampleAt(const AppState& state, int32_t c, double x);

// Puts sample p at the centre column: sets `ScreenStart` and `CenterSample`.
void CenterViewOn(AppState& state, int32_t p, int rowWidth);

// Recomputes `CenterSample` from `ScreenStart` (keeping it where it still centres the view, as
// after centring on a sample) and recentres on 0 or `BufferSamples` when the
// centre lies outside the buffer.
void CenterCheck(AppState& state, int rowWidth);

} // namespace norrik
