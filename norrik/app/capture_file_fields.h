// The settings a capture file carries beside its samples, and how they map to and from the
// application's working record.
#pragma once

#include "app_state.h"
#include "podcore_api.h"

#include <array>
#include <cstdint>

namespace norrik {

struct CaptureFileFields {
    uint8_t rateCode = 0;
    uint32_t sampleCount = 0;
    std::array<uint8_t, 43> bytes{};  // byte fields 2 to 44
    std::array<uint32_t, 8> words{};  // word fields 1 to 8
};

// Trigger level entries stored in byte fields 4 to 43, in file order: bits 0-17, 19 and 20 of
// both steps (bit 18 has no row and is not stored).
extern const std::array<int, 40> kStoredTriggerEntries;

// The fields a save writes: the current rate, the buffer size, the trigger pattern, the clock
// choice, the trigger position in percent and the view.
CaptureFileFields FieldsOfState(const AppState& state, bool internalClock,
                                uint32_t triggerPercent);

// Copies what a file holds back into the record: rate, trigger pattern, trigger sample, view
// and cursors. The sample count and the clock choice are the caller's to apply.
void ApplyFields(const CaptureFileFields& fields, AppState& state);

bool InternalClockOf(const CaptureFileFields& fields);

// The trigger position a file asks for, 10 when it lies outside 10 to 90.
// The trigger index the file holds (word field 2).
int32_t TriggerSampleOf(const CaptureFileFields& fields);

int TriggerPercentOf(const CaptureFileFields& fields);

int32_t SaveCaptureFile(PodcoreApi& pod, CaptureFileFields& fields, const char* name);
int32_t OpenCaptureFile(PodcoreApi& pod, CaptureFileFields& fields, const char* name);

} // namespace norrik
