#include "view/zoom_setting.h"

#include "app/number_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace norrik {
namespace {

// The integer part of a step's result, kept within 32 bits so that the text stays a number the
// next read can take; that read brings it within the zoom limits.
std::string IntegerPartText(double value) {
    const double whole = std::clamp(std::trunc(value), -2147483648.0, 2147483647.0);
    return PlainText(static_cast<int64_t>(whole));
}

// One step of either direction, from the field that halves: above 1 it halves and the other
// field becomes 0; at 1 or below it becomes 0 and the other field doubles (0 counting as 1).
std::pair<std::string, std::string> HalveOrCross(double halving, double other) {
    if (halving <= 1)
        return {PlainText(int64_t{0}), IntegerPartText(2 * (other == 0 ? 1 : other))};
    return {IntegerPartText(halving / 2), PlainText(int64_t{0})};
}

} // namespace

bool IsValidZoom(int64_t scale, int64_t subScale) {
    if (scale >= 1)
        return scale <= kMaxScale && subScale == 0;
    return scale == 0 && subScale >= 1 && subScale <= kMaxSubScale;
}

ZoomSetting NearestValidZoom(int64_t scale, int64_t subScale) {
    if (scale >= 1)
        return {static_cast<int32_t>(std::min<int64_t>(scale, kMaxScale)), 0};
    if (subScale >= 1)
        return {0, static_cast<int32_t>(std::min<int64_t>(subScale, kMaxSubScale))};
    return {1, 0};
}

bool HoldsValidZoom(const ZoomFields& fields) {
    return IsValidZoom(RoundHalfEven(LeadingNumber(fields.ScaleP)),
                       RoundHalfEven(LeadingNumber(fields.SubScale)));
}

ZoomSetting ReadZoomSetting(const ZoomFields& fields) {
    return NearestValidZoom(RoundHalfEven(LeadingNumber(fields.ScaleP)),
                            RoundHalfEven(LeadingNumber(fields.SubScale)));
}

ZoomFields ZoomFieldsOf(ZoomSetting setting) {
    return {PlainText(int64_t{setting.Scale}), PlainText(int64_t{setting.SubScale})};
}

ZoomFields ZoomInStep(const ZoomFields& fields) {
    const auto [scaleP, subScale] =
        HalveOrCross(LeadingNumber(fields.ScaleP), LeadingNumber(fields.SubScale));
    return {scaleP, subScale};
}

ZoomFields ZoomOutStep(const ZoomFields& fields) {
    const auto [subScale, scaleP] =
        HalveOrCross(LeadingNumber(fields.SubScale), LeadingNumber(fields.ScaleP));
    return {scaleP, subScale};
}

ZoomFields ZoomAllSetting(AppState& state, int rowWidth) {
    const double samples = state.BufferSamples;
    state.ScreenStart = RoundHalfEvenToInt32(-0.1 * samples);
    const double scale = rowWidth > 0 ? 1.2 * samples / rowWidth : 0;
    return {PlainText(scale), "0"};
}

} // namespace norrik
