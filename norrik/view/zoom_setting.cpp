#include "view/zoom_setting.h"

#include "app/number_text.h"

#include <algorithm>
#include <cmath>

namespace norrik {
namespace {

// The integer part of a step's result, kept within 32 bits so that the text stays a number the
// next read can take; that read brings it within the zoom limits.
std::string IntegerPartText(double value) {
    const double whole = std::clamp(std::trunc(value), -2147483648.0, 2147483647.0);
    return PlainText(static_cast<int64_t>(whole));
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
    const double scale = LeadingNumber(fields.ScaleP);
    if (scale <= 1) {
        double v = LeadingNumber(fields.SubScale);
        if (v == 0)
            v = 1;
        return {PlainText(int64_t{0}), IntegerPartText(2 * v)};
    }
    return {IntegerPartText(scale / 2), PlainText(int64_t{0})};
}

ZoomFields ZoomOutStep(const ZoomFields& fields) {
    const double subScale = LeadingNumber(fields.SubScale);
    if (subScale <= 1) {
        double v = LeadingNumber(fields.ScaleP);
        if (v == 0)
            v = 1;
        return {IntegerPartText(2 * v), PlainText(int64_t{0})};
    }
    return {PlainText(int64_t{0}), IntegerPartText(subScale / 2)};
}

ZoomFields ZoomAllSetting(AppState& state, int rowWidth) {
    const double samples = state.BufferSamples;
    state.ScreenStart = RoundHalfEvenToInt32(-0.1 * samples);
    const double scale = rowWidth > 0 ? 1.2 * samples / rowWidth : 0;
    return {PlainText(scale), "0"};
}

} // namespace norrik
