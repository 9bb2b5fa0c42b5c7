#include "capture_command.h"

#include "app/acquisition_cycle.h"
#include "app/app_state.h"
#include "app/capture_file_fields.h"
#include "app/capture_texts.h"
#include "app/trigger_steps.h"
#include "capture_outcome.h"
#include "command_status.h"
#include "interchange/capture_io.h"
#include "interrupt_flag.h"
#include "pod_choice.h"
#include "podcore_api.h"
#include "progress_line.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace norrik::cli {
namespace {

using Clock = std::chrono::steady_clock;

// The window's Timer1 interval; Ctrl-C is looked at more often so that it stops at once.
constexpr auto kPollInterval = std::chrono::milliseconds(250);
constexpr auto kInterruptCheck = std::chrono::milliseconds(25);

void WaitForNextPoll() {
    const auto due = Clock::now() + kPollInterval;
    while (Clock::now() < due && !Interrupted())
        std::this_thread::sleep_for(kInterruptCheck);
}

CaptureSnapshot ReadStatus(PodcoreApi& pod, AppState& state) {
    const int32_t status =
        pod.CaptureStatus(&state.CapBreaks, &state.CapRunning, &state.CapTriggered,
                          &state.CapStartP, &state.CapEndP, &state.TriggerSample, &state.CapFull);
    return {status, state.CapRunning, state.CapTriggered};
}

std::string StateText(const AppState& state) {
    if (state.CapTriggered == 0)
        return kWaitingForTriggerText;
    return std::string(kStoringDataText) + " " + std::to_string(state.CapFull) + "%";
}

std::string SecondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

std::string ReasonOf(CaptureEnd end, const CaptureRequest& request) {
    switch (end) {
    case CaptureEnd::Break:
        return std::string(kBreakTitle) + ": " + kBreakText;
    case CaptureEnd::NoTrigger:
        return "no trigger within " + SecondsText(*request.timeoutSeconds) + " s";
    case CaptureEnd::Interrupted:
        return "capture stopped";
    case CaptureEnd::PodProblem:
        return "the pod did not start the capture";
    case CaptureEnd::Stored:
        break;
    }
    return {};
}

// Polls as the window's Timer1 does until the capture ends, showing its state meanwhile.
CaptureEnd FollowCapture(PodcoreApi& pod, AppState& state, const CaptureRequest& request) {
    ProgressLine progress;
    const auto started = Clock::now();
    while (true) {
        WaitForNextPoll();
        const CaptureSnapshot status = ReadStatus(pod, state);
        const bool timeoutPassed =
            request.timeoutSeconds &&
            Clock::now() - started >= std::chrono::duration<double>(*request.timeoutSeconds);
        if (const auto end = EndOfCapture(status, Interrupted(), timeoutPassed))
            return *end;
        progress.Show(StateText(state));
    }
}

} // namespace

int RunCapture(const CaptureRequest& request, std::string& message) {
    PodcoreApi& pod = Podcore();
    uint32_t podId = 0;
    if (!OpenChosenPod(pod, request.podId, podId, message))
        return static_cast<int>(CaptureEnd::PodProblem);
    const uint32_t largest = pod.GetMaxBufferSize();
    if (static_cast<uint32_t>(request.bufferSamples) > largest) {
        message = "--samples: at most " + std::to_string(largest) + " samples fit in memory";
        return kBadArguments;
    }

    AppState state;
    state.RateCode[0] = request.rateCode;
    state.BufferSamples = request.bufferSamples;
    state.SampleBuffer = pod.MakeBuffer(static_cast<uint32_t>(request.bufferSamples));
    if (state.SampleBuffer == nullptr) {
        message = "the library could not allocate " + std::to_string(request.bufferSamples) +
                  " samples";
        return static_cast<int>(CaptureEnd::PodProblem);
    }
    state.TriggerLevels = request.triggerLevels;
    state.TriggerStepCount = 2;
    state.ClockEdge = request.clockEdge;
    state.TrigQualifier = request.trigQualifier;

    // As Acquire_Click: the steps rebuilt, the post-trigger count, then the start.
    BuildTriggerSteps(state.TriggerLevels, state.TriggerStepCount, state.TriggerSteps);
    const int32_t postTrigger = PostTriggerSamples(state.BufferSamples, request.triggerPosition);
    const uint32_t mode =
        ClockingMode(request.externalClock, state.ClockEdge, state.TrigQualifier);
    const int32_t started = pod.StartCapture(
        state.RateCode[0], mode, state.TriggerSteps.data(), state.TriggerStepCount,
        state.SampleBuffer, static_cast<uint32_t>(state.BufferSamples),
        static_cast<uint32_t>(postTrigger));
    const CaptureEnd end =
        started != 0 ? FollowCapture(pod, state, request) : CaptureEnd::PodProblem;
    // As FinishCapture: the library is stopped after every attempt, and a last status read
    // gives the trigger's place in the buffer as it now lies in time order.
    pod.StopCapture();
    ReadStatus(pod, state);
    if (end == CaptureEnd::PodProblem || (end != CaptureEnd::Stored && !request.keep)) {
        message = ReasonOf(end, request) +
                  (end == CaptureEnd::PodProblem ? "" : "; nothing stored (--keep stores it)");
        return static_cast<int>(end);
    }

    state.CenterSample = state.TriggerSample;
    state.Scale = 1;
    const CaptureFileFields fields =
        FieldsOfState(state, !request.externalClock, static_cast<uint32_t>(request.triggerPosition));
    std::string why;
    if (!interchange::WriteBufferToFile(pod, state.SampleBuffer, fields, request.output,
                                        request.format, {}, {}, why)) {
        message = "cannot write '" + request.output + "': " + why;
        return kBadArguments;
    }
    message = ReasonOf(end, request);
    return static_cast<int>(end);
}

int CaptureCommand(const std::vector<std::string>& arguments) {
    CaptureRequest request;
    std::string message;
    if (!ParseCaptureArguments(arguments, request, message) || !BindProgramLibrary(message))
        return Finish(kBadArguments, message);
    CatchInterrupts();
    const int status = RunCapture(request, message);
    return Finish(status, message);
}

} // namespace norrik::cli
