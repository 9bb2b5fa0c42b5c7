#include "view/sample_time.h"

#include "app/number_text.h"

#include <array>
#include <cmath>

namespace norrik {
namespace {

struct RatePeriod {
    uint8_t code;
    double periodNs;
};

constexpr std::array<RatePeriod, 9> kPeriods = {{{247, 41.667},
                                                 {167, 62.5},
                                                 {127, 83.333},
                                                 {87, 125},
                                                 {67, 166.667},
                                                 {47, 250},
                                                 {37, 333.333},
                                                 {27, 500},
                                                 {17, 1000}}};

double TimeNs(const AppState& state, int32_t sample) {
    const double period = SamplePeriodNs(state.RateCode[0]);
    return sample * period - TimeReferenceSample(state) * period;
}

} // namespace

double SamplePeriodNs(uint8_t rateCode) {
    for (const RatePeriod& rate : kPeriods) {
        if (rate.code == rateCode)
            return rate.periodNs;
    }
    return 0;
}

int32_t TimeReferenceSample(const AppState& state) {
    switch (state.TimeReference) {
    case kXReference:
        return state.XCursor;
    case kOReference:
        return state.OCursor;
    default:
        return state.TriggerSample;
    }
}

float TimeOfSample(const AppState& state, int32_t sample) {
    return static_cast<float>(TimeNs(state, sample));
}

std::string FormatSampleTime(const AppState& state, int32_t sample) {
    return FormatTimeNs(TimeNs(state, sample));
}

TimeUnit TimeUnitOf(double magnitudeNs) {
    if (magnitudeNs < 1e3)
        return {1, "ns"};
    if (magnitudeNs < 1e6)
        return {1e3, "us"};
    if (magnitudeNs < 1e9)
        return {1e6, "ms"};
    return {1e9, "s"};
}

std::string FormatTimeNs(double t) {
    const TimeUnit unit = TimeUnitOf(std::fabs(t));
    return FormatTwoDecimals(t / unit.divisor) + unit.name;
}

} // namespace norrik
