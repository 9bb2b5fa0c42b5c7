// The zoom setting: two text fields hold it, the view works on their numbers. Reading brings any
// text back to a valid setting; the two steps and Zoom All rewrite the texts.
#pragma once

#include "app/app_state.h"

#include <cstdint>
#include <string>

namespace norrik {

// Columns per sample are capped where the view stops gaining detail.
constexpr int32_t kMaxSubScale = 128;
// Samples per column are capped at the coarsest level the zoom reaches on the largest buffer
// (2^30 samples), so that a view of a row's width stays within signed 32-bit sample indexes.
constexpr int32_t kMaxScale = 1 << 21;

// The texts of the fields `ScaleP` and `SubScale`.
struct ZoomFields {
    std::string ScaleP;
    std::string SubScale;
};

struct ZoomSetting {
    int32_t Scale = 1;
    int32_t SubScale = 0;
};

// Either Scale >= 1 and SubScale = 0, or Scale = 0 and 1 <= SubScale <= 128.
bool IsValidZoom(int64_t scale, int64_t subScale);

// The nearest valid setting to a pair of whole numbers: a positive Scale wins (capped), then a
// positive SubScale (capped at 128); anything else is one sample per column.
ZoomSetting NearestValidZoom(int64_t scale, int64_t subScale);

// Whether the fields, read as they are, already hold a valid setting.
bool HoldsValidZoom(const ZoomFields& fields);

// Reads the fields (leading numbers, rounded halves to even) into a valid setting.
ZoomSetting ReadZoomSetting(const ZoomFields& fields);

// The fields of a setting, written as plain decimal text.
ZoomFields ZoomFieldsOf(ZoomSetting setting);

// One zoom level finer or coarser, from the fields' leading numbers; halving keeps the integer
// part, so odd and fractional values lose their remainder. The callers check the limits.
ZoomFields ZoomInStep(const ZoomFields& fields);
ZoomFields ZoomOutStep(const ZoomFields& fields);

// Shows the whole buffer and a tenth of its length on either side: sets `ScreenStart` and
// returns the fields (ScaleP as an unrounded real value).
ZoomFields ZoomAllSetting(AppState& state, int rowWidth);

} // namespace norrik
