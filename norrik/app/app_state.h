// The application's one shared working record. Every handler reads and writes it directly; it is
// plain data so that the arithmetic behind the handlers can be tested without a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace norrik {

enum TimeReferenceKind : uint8_t { kTriggerReference = 0, kXReference = 1, kOReference = 2 };

// Sample bit shown by each waveform row: rows 0-15 are P0-P15, then VDD, RES, Sout and Sin, so
// that from the top (row 19) the rows read Sin, Sout, RES, VDD as the pin legend does.
constexpr std::array<int, 20> kRowBit = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                         10, 11, 12, 13, 14, 15, 20, 19, 17, 16};
constexpr int kRows = 20;
constexpr int kSignalBits = 21;

struct AppState {
    bool PodAttached = false;
    bool DemoMode = false;
    bool Acquiring = false;
    bool HaveCapture = false;
    // The buffer holds a file's or a pod's samples rather than the demo pattern (or nothing).
    bool SamplesRecorded = false;
    // The decode button's caption of a decoder run under way; empty when none runs.
    std::string RunningDecoder;
    std::array<uint8_t, 2> RateCode{}; // [0] current code, [1] maximum code
    int32_t BufferSamples = 0;
    int32_t MaxBufferSamples = 0;
    uint32_t* SampleBuffer = nullptr; // the library's buffer, kept as a handle only

    std::array<uint8_t, 257> TriggerLevels{};
    std::array<uint32_t, 257> TriggerSteps{};
    int32_t TriggerStepCount = 0;
    uint8_t TrigQualifier = 0;
    uint8_t ClockEdge = 0;

    uint8_t CapRunning = 0;
    uint8_t CapBreaks = 0;
    uint8_t CapTriggered = 0;
    int32_t CapStartP = 0;
    int32_t CapEndP = 0;
    int32_t TriggerSample = 0;
    uint8_t CapFull = 0;

    int32_t XCursor = 0;
    int32_t OCursor = 0;
    uint8_t TimeReference = kTriggerReference;
    std::array<int32_t, 21> SignalColors{}; // 0x00RRGGBB by waveform row
    bool HoverMarkShown = false;

    // View state.
    int32_t ScreenStart = 0;
    int32_t Scale = 0;
    int32_t SubScale = 0;
    int32_t CenterSample = 0;
    int32_t ScrollStep = 0;
    bool WaveMouseDown = false;
    float WaveDownX = 0;
    bool WaveDragged = false;
    int32_t HoverMarkX = 0;
    bool OverviewMouseDown = false;
};

// The resistor colour code by waveform row, repeating after eight; index 20 stays black.
std::array<int32_t, 21> ResistorColors();

} // namespace norrik
