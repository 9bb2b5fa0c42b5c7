// The command line of norrik-cli capture: which pod, the capture's settings in the window's
// terms, how long to wait for the trigger and where the capture goes.
#pragma once

#include "interchange/capture_format.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norrik::cli {

struct CaptureRequest {
    std::optional<uint32_t> podId;             // else the first pod listed
    uint8_t rateCode = 27;                     // the window's startup rate, 2 Msps
    int32_t bufferSamples = 1'048'576;         // the size list's first entry
    std::array<uint8_t, 257> triggerLevels{};  // as the window's trigger buttons hold them
    int triggerPosition = 10;                  // percent of the buffer before the trigger
    bool externalClock = false;
    uint8_t clockEdge = 0;      // 0 rising, 1 falling
    uint8_t trigQualifier = 0;  // 0 none, 1 high, 2 low
    std::optional<double> timeoutSeconds;      // else the trigger is awaited until Ctrl-C
    bool keep = false;                         // store a capture that ended without success too
    std::string output;
    interchange::CaptureFormat format = interchange::CaptureFormat::Nrk;
};

// Parses the arguments after "capture". On a bad argument returns false with a one-line reason.
bool ParseCaptureArguments(const std::vector<std::string>& arguments, CaptureRequest& request,
                           std::string& error);

// Reads 'STEP1[;STEP2]', each step a comma-separated list of LINE=LEVEL, into trigger levels.
bool ParseTriggerSteps(const std::string& text, std::array<uint8_t, 257>& levels,
                       std::string& error);

std::string CaptureUsage();

} // namespace norrik::cli
