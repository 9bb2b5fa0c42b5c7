#include "view/sample_position_text.h"

#include "app/number_text.h"
#include "view/sample_time.h"

#include <cmath>

namespace norrik {
namespace {

// A count of samples as plain digits: "24000001", "-3".
std::string Count(int64_t value) {
    return std::to_string(value);
}

// Up to 15 significant digits, without the plain text's blank before a positive value.
std::string Digits(double value) {
    std::string digits = PlainText(value);
    if (!digits.empty() && digits.front() == ' ')
        digits.erase(0, 1);
    return digits;
}

// A time in ns in the unit of its size: "41.6666666666667 ns".
std::string ExactTimeText(double ns) {
    const TimeUnit unit = TimeUnitOf(std::fabs(ns));
    return Digits(ns / unit.divisor) + " " + unit.name;
}

const char* ReferenceName(const AppState& state) {
    switch (state.TimeReference) {
    case kXReference:
        return "the X cursor";
    case kOReference:
        return "the O cursor";
    default:
        return "the trigger";
    }
}

// "24 samples, 1 us": a span of samples and, where a period applies, its exact time.
std::string SpanText(const AppState& state, int64_t samples, bool withTime) {
    std::string text = Count(samples) + (std::llabs(samples) == 1 ? " sample" : " samples");
    const double period = ExactSamplePeriodNs(state.RateCode[0]);
    if (withTime && period != 0)
        text += ", " + ExactTimeText(static_cast<double>(samples) * period);
    return text;
}

} // namespace

double ExactSamplePeriodNs(uint8_t rateCode) {
    // Rate codes are the rate in MHz x 10 + 7.
    return SamplePeriodNs(rateCode) != 0 ? 10000.0 / (rateCode - 7) : 0;
}

std::string SamplePositionText(const AppState& state, int32_t sample, bool withTime) {
    std::string text = "Sample " + Count(sample);
    const double period = ExactSamplePeriodNs(state.RateCode[0]);
    if (!withTime || period == 0)
        return text;
    const int64_t offset = int64_t{sample} - TimeReferenceSample(state);
    if (offset == 0)
        return text + ", at " + ReferenceName(state);
    return text + ", " + ExactTimeText(std::fabs(static_cast<double>(offset) * period)) +
           (offset > 0 ? " after " : " before ") + ReferenceName(state);
}

std::string CursorSpanText(const AppState& state, bool withTime) {
    return "O - X: " + SpanText(state, int64_t{state.OCursor} - state.XCursor, withTime);
}

std::string InstaMeasureText(const AppState& state, InstaMode mode, const InstaEdges& edges,
                             int32_t s, uint32_t value, bool withTime) {
    const std::string at = "Sample " + Count(s);
    if (mode == InstaMode::Byte)
        return at + ": " + ByteText(value);
    const std::optional<int32_t>& last = mode == InstaMode::Width ? edges.end : edges.periodEnd;
    if (!edges.start || !last)
        return at + ": no whole " + (mode == InstaMode::Width ? "pulse" : "period") +
               " around it in the capture";
    const int64_t samples = int64_t{*last} - *edges.start;
    std::string text = (mode == InstaMode::Width ? "Pulse from sample " : "Period from sample ") +
                       Count(*edges.start) + " to sample " + Count(*last) + ": " +
                       SpanText(state, samples, withTime);
    const double period = ExactSamplePeriodNs(state.RateCode[0]);
    if (mode == InstaMode::Frequency && withTime && period != 0 && samples != 0) {
        text += ", " + Digits(1e9 / (static_cast<double>(samples) * period)) + " Hz";
    }
    return text;
}

} // namespace norrik
