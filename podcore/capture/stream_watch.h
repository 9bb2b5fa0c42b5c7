// Watching that a running capture still receives samples. A pod whose streams fell silent (no
// sampling engine, a stalled front end) still answers its status endpoint with 0, which would
// read as a capture waiting for its trigger for ever; so would one stream that stopped while the
// other runs on. Either is reported as a break of its own.
#pragma once

#include "capture/capture_state.h"

#include <chrono>
#include <cstdint>

namespace podcore::capture {

// The status byte CaptureStatus reports for streams that stopped delivering samples.
constexpr uint8_t kStatusNoSamples = 0xDA;
// A running capture that completed no block for this long has lost its streams.
constexpr auto kNoSampleLimit = std::chrono::seconds(2);
// How far one stream may run ahead of the other (samples) before the capture counts as broken;
// it bounds the bytes held for the stream ahead.
constexpr uint64_t kMaxStreamLead = 32 * uint64_t{kBlockSamples};

using WatchClock = std::chrono::steady_clock;

// Arming and every completed block restart the silence count.
void NoteBlockCompleted(CaptureState& state, WatchClock::time_point now);

// `podStatus` as it came, unless it says that all is well while a running capture received no
// block for kNoSampleLimit or its streams drifted apart: then kStatusNoSamples.
uint8_t ReportedStatus(uint8_t podStatus, const CaptureState& state, WatchClock::time_point now);

} // namespace podcore::capture
