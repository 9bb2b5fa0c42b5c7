// The acquisition cycle: Acquire starts a capture on the pod (or the demo generator), Timer1
// follows it, FinishCapture stops it and shows the whole buffer, and Timer3 keeps the Acquire
// button from being pressed twice in quick succession.
#include "acquisition_cycle.h"
#include "busy_cursor.h"
#include "capture_texts.h"
#include "decode_guard.h"
#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "status_caption.h"
#include "trigger_steps.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace norrik {
namespace {

const QColor kStoppedColour(255, 0, 0);
const QColor kWaitingColour(0, 255, 255);
const QColor kWaitingBlinkColour(0, 0, 255);
const QColor kStoringColour(0, 255, 0);

// Counts the FinishCapture calls under way, nested ones included.
class FinishingScope {
public:
    explicit FinishingScope(int& count) : count_(count) { ++count_; }
    ~FinishingScope() { --count_; }
    FinishingScope(const FinishingScope&) = delete;
    FinishingScope& operator=(const FinishingScope&) = delete;

private:
    int& count_;
};

} // namespace

void Form1::CreateAcquisitionTimers() {
    const auto make = [this](int milliseconds, void (Form1::*handler)()) {
        auto* timer = new QTimer(this);
        timer->setInterval(milliseconds);
        connect(timer, &QTimer::timeout, this, handler);
        return timer;
    };
    Timer1 = make(250, &Form1::Timer1_Timer);
    Timer2 = make(500, &Form1::Timer2_Timer);
    Timer3 = make(1500, &Form1::Timer3_Timer);
}

void Form1::ShowStatus(const QString& caption, const QColor& background) {
    ShowCaptionOn(Status, caption, background);
}

void Form1::ShowProgress(int percent) {
    Progress->setValue(std::clamp(percent, 0, 100));
}

// While the library holds a capture the buffer must not be re-allocated and the pod not
// re-opened under its streaming threads.
void Form1::LockCaptureSettings(bool locked) {
    SizeList->setEnabled(!locked);
    PodList->setEnabled(!locked);
}

int32_t Form1::ReadCaptureStatus() {
    switch (captureSource_) {
    case CaptureSource::Demo:
        FillDemoCaptureStatus(state_, TriggerPositionScroll->value());
        return 0;
    case CaptureSource::RefusedByPod:
        // Nothing runs. A pod whose firmware was never started would keep each status read
        // waiting for its whole time-out, freezing the window, so the library is not asked.
        state_.CapRunning = 0;
        return 0;
    case CaptureSource::Pod:
        break;
    }
    return Podcore().CaptureStatus(&state_.CapBreaks, &state_.CapRunning, &state_.CapTriggered,
                                   &state_.CapStartP, &state_.CapEndP, &state_.TriggerSample,
                                   &state_.CapFull);
}

void Form1::Acquire_Click() {
    // A capture would rewrite the samples under the decoder, and its end moves the screen start.
    if (RefuseWhileDecoding(this, state_))
        return;
    // A start while an earlier capture is still being finished would reach the library before
    // its StopCapture has returned: the command is dropped.
    if (!state_.Acquiring && finishingCaptures_ > 0)
        return;
    Command1->setEnabled(false);
    Timer3->start();
    if (state_.Acquiring) {
        Command1->setText("Acquire");
        state_.Acquiring = false;
        Timer1->stop();
        FinishCapture();
        return;
    }

    Command1->setText("Stop");
    state_.Acquiring = true;
    BuildTriggerSteps(state_.TriggerLevels, state_.TriggerStepCount, state_.TriggerSteps);
    ShowStatus(kWaitingForTriggerText, kWaitingColour);
    const int32_t postTrigger =
        PostTriggerSamples(state_.BufferSamples, TriggerPositionScroll->value());
    LockCaptureSettings(true);
    // The firmware load and the wait for the pod's ready byte take up to 4 s, filling a large
    // buffer with demo samples about as long.
    const BusyCursor busy;
    // Decided once per capture, so that a pod choice made meanwhile cannot leave the library's
    // capture unstopped.
    if (state_.DemoMode) {
        captureSource_ = CaptureSource::Demo;
        Podcore().DemoData();
        state_.SamplesRecorded = false;
    } else {
        const uint32_t mode =
            ClockingMode(!InternalCLK->isChecked(), state_.ClockEdge, state_.TrigQualifier);
        const int32_t started = Podcore().StartCapture(
            state_.RateCode[0], mode, state_.TriggerSteps.data(), state_.TriggerStepCount,
            state_.SampleBuffer, static_cast<uint32_t>(state_.BufferSamples),
            static_cast<uint32_t>(postTrigger));
        captureSource_ = started != 0 ? CaptureSource::Pod : CaptureSource::RefusedByPod;
    }
    ShowProgress(0);
    Timer1->start();
}

void Form1::Timer1_Timer() {
    const int32_t status = ReadCaptureStatus();
    ShowCaptureStatus();
    if (captureSource_ != CaptureSource::Demo && state_.CapRunning != 0 && status == 0) {
        if (state_.CapTriggered != 0) {
            ShowStatus(kStoringDataText, kStoringColour);
        } else {
            const bool cyan = Status->palette().color(QPalette::Window) == kWaitingColour;
            ShowStatus(kWaitingForTriggerText, cyan ? kWaitingBlinkColour : kWaitingColour);
        }
        ShowProgress(state_.CapFull);
        return;
    }
    Timer1->stop();
    FinishCapture();
}

void Form1::FinishCapture() {
    const FinishingScope finishing(finishingCaptures_);
    sampleSummary_ = SampleSummary(); // of the samples before this capture
    // The guard of the Acquire press runs out first; the window stays responsive meanwhile.
    while (Timer3->isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Command1->setEnabled(false);
    Timer3->start();
    ShowProgress(100);
    ShowStatus("Stopped", kStoppedColour);
    if (captureSource_ != CaptureSource::Demo)
        Podcore().StopCapture();
    if (state_.CapRunning != 0 && state_.CapBreaks != 0)
        ShowMessage(this,
                    {kBreakTitle, kBreakText,
                     QMessageBox::Critical, QMessageBox::Ok});
    state_.HaveCapture = true;
    if (captureSource_ == CaptureSource::Pod)
        state_.SamplesRecorded = true;
    ReadCaptureStatus();
    ShowCaptureStatus();

    ZoomAllSetting();
    QCoreApplication::processEvents();
    RedrawWaveforms();
    FocusWaveform();
    Command1->setText("Acquire");
    state_.Acquiring = false;
    if (finishingCaptures_ == 1)
        LockCaptureSettings(false);
}

bool Form1::CaptureBusy() const {
    return state_.Acquiring || finishingCaptures_ > 0;
}

void Form1::Timer3_Timer() {
    Timer3->stop();
    Command1->setEnabled(true);
    Command1->setDefault(true);
}

} // namespace norrik
