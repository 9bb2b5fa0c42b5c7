#include "capture_file_fields.h"

namespace norrik {
namespace {

enum WordField { kTriggerPercent, kTriggerSample, kCenterSample, kScale, kSubScale, kXCursor,
                 kOCursor };
constexpr size_t kFirstTriggerByte = 2;   // byte field 4
constexpr size_t kClockByte = 42;         // byte field 44

// The library takes every field by its own pointer; this spreads the record over them.
template <typename Call>
int32_t WithFieldPointers(CaptureFileFields& f, Call call) {
    uint8_t* b = f.bytes.data();
    uint32_t* w = f.words.data();
    return call(&f.rateCode, &f.sampleCount, b, b + 1, b + 2, b + 3, b + 4, b + 5, b + 6, b + 7,
                b + 8, b + 9, b + 10, b + 11, b + 12, b + 13, b + 14, b + 15, b + 16, b + 17,
                b + 18, b + 19, b + 20, b + 21, b + 22, b + 23, b + 24, b + 25, b + 26, b + 27,
                b + 28, b + 29, b + 30, b + 31, b + 32, b + 33, b + 34, b + 35, b + 36, b + 37,
                b + 38, b + 39, b + 40, b + 41, b + 42, w, w + 1, w + 2, w + 3, w + 4, w + 5,
                w + 6, w + 7);
}

uint32_t Word(int32_t value) {
    return static_cast<uint32_t>(value);
}

int32_t Signed(uint32_t word) {
    return static_cast<int32_t>(word);
}

} // namespace

const std::array<int, 40> kStoredTriggerEntries = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 19, 20,
    32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 51, 52};

CaptureFileFields FieldsOfState(const AppState& state, bool internalClock,
                                uint32_t triggerPercent) {
    CaptureFileFields fields;
    fields.rateCode = state.RateCode[0];
    fields.sampleCount = Word(state.BufferSamples);
    for (size_t i = 0; i < kStoredTriggerEntries.size(); ++i)
        fields.bytes[kFirstTriggerByte + i] =
            state.TriggerLevels[static_cast<size_t>(kStoredTriggerEntries[i])];
    fields.bytes[kClockByte] = internalClock ? 1 : 0;
    fields.words = {triggerPercent,           Word(state.TriggerSample),
                    Word(state.CenterSample), Word(state.Scale),
                    Word(state.SubScale),     Word(state.XCursor),
                    Word(state.OCursor),      1};
    return fields;
}

void ApplyFields(const CaptureFileFields& fields, AppState& state) {
    state.RateCode[0] = fields.rateCode;
    for (size_t i = 0; i < kStoredTriggerEntries.size(); ++i)
        state.TriggerLevels[static_cast<size_t>(kStoredTriggerEntries[i])] =
            fields.bytes[kFirstTriggerByte + i];
    state.TriggerSample = Signed(fields.words[kTriggerSample]);
    state.CenterSample = Signed(fields.words[kCenterSample]);
    state.Scale = Signed(fields.words[kScale]);
    state.SubScale = Signed(fields.words[kSubScale]);
    state.XCursor = Signed(fields.words[kXCursor]);
    state.OCursor = Signed(fields.words[kOCursor]);
}

bool InternalClockOf(const CaptureFileFields& fields) {
    return fields.bytes[kClockByte] == 1;
}

int32_t TriggerSampleOf(const CaptureFileFields& fields) {
    return Signed(fields.words[kTriggerSample]);
}

int TriggerPercentOf(const CaptureFileFields& fields) {
    const uint32_t percent = fields.words[kTriggerPercent];
    return percent < 10 || percent > 90 ? 10 : static_cast<int>(percent);
}

int32_t SaveCaptureFile(PodcoreApi& pod, CaptureFileFields& fields, const char* name) {
    return WithFieldPointers(fields, [&](auto... field) {
        return pod.SaveFileDataAndConfig(field..., name);
    });
}

int32_t OpenCaptureFile(PodcoreApi& pod, CaptureFileFields& fields, const char* name) {
    return WithFieldPointers(fields, [&](auto... field) {
        return pod.OpenFileDataAndConfig(field..., name);
    });
}

} // namespace norrik
