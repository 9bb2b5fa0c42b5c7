// The throughput self-test: stream with the trigger off and see whether the pod lost data.
#pragma once

#include <chrono>
#include <cstdint>

namespace podcore::capture {

constexpr auto kTrialLength = std::chrono::milliseconds(5000);

// TestIt: the rate code when streaming at that rate for `trial` lost no data, else 0.
int32_t TestRate(uint8_t rateCode, std::chrono::milliseconds trial);

// SpeedTest: the fastest rate code that passes its trial, or 0.
int32_t FastestRate(std::chrono::milliseconds trial);

} // namespace podcore::capture
