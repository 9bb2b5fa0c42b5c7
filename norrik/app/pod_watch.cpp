// The pod watch: every 500 ms while no capture runs, it looks for pods being plugged in or
// removed, re-initializes on an arrival and falls back to demo mode on a removal.
#include "acquisition_cycle.h"
#include "diagnostic_log.h"
#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"

#include <QTimer>

#include <array>

namespace norrik {

void Form1::Timer2_Timer() {
    // Nothing reaches the library while a capture runs or is being stopped, a file is read or
    // written or a decoder reads the buffer, and a tick that comes while an earlier one waits in
    // its message box does nothing, so that messages do not pile up.
    if (CaptureBusy() || podWatchBusy_ || FileWorkRunning() || !state_.RunningDecoder.empty())
        return;
    podWatchBusy_ = true;
    PodcoreApi& pod = Podcore();
    const bool wasAttached = state_.PodAttached;
    std::array<uint32_t, 257> podIds{};
    const int32_t pods = pod.NewEnumeratePods(podIds.data());
    state_.PodAttached = pods > 0;

    switch (PodWatchChangeOf(wasAttached, pods)) {
    case PodWatchChange::Arrival:
        pod.DeleteBuffer(state_.SampleBuffer);
        state_.SampleBuffer = nullptr;
        InitializeSystem();
        break;
    case PodWatchChange::Removal:
        Output->Print("InitFailed");
        ShowPodReady(false);
        state_.DemoMode = true;
        state_.HaveCapture = false;
        break;
    case PodWatchChange::None:
        break;
    }
    // Shown after the fall-back, so that the indicators already say what the message means.
    if (pods == -1)
        ShowMessage(this, {"Tarnwick Logic Analyzer",
                           "Tarnwick Logic Analyzer detected on a USB Full-Speed port.  The "
                           "Norrik will only work on a USB 2.0 High Speed port.",
                           QMessageBox::Information, QMessageBox::Ok});
    podWatchBusy_ = false;
}

} // namespace norrik
