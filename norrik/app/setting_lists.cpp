// The rate, buffer-size and pod lists and what a selection in each does.
#include "acquisition_settings.h"
#include "busy_cursor.h"
#include "decode_guard.h"
#include "diagnostic_log.h"
#include "form1.h"
#include "number_text.h"
#include "podcore_api.h"
#include "settings_store.h"
#include "trigger_steps.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace norrik {

void Form1::RefreshSettingLists() {
    RateList->clear();
    SizeList->clear();

    const uint8_t maxCode = state_.RateCode[1];
    for (const RateChoice& rate : kRates) {
        if (state_.DemoMode || maxCode == 0 || rate.code <= maxCode)
            RateList->addItem(rate.label);
    }
    SelectCurrentRate();
    if (maxCode != 0 && state_.RateCode[0] > maxCode)
        state_.RateCode[0] = maxCode;

    const int sizes = SizeEntries(state_.MaxBufferSamples);
    for (int millions = 1; millions <= sizes; ++millions)
        SizeList->addItem(QString::fromStdString(SizeLabel(millions)));
    SelectEntry(SizeList, SizeEntryOf(state_.BufferSamples));

    ShowCaptureRate();

    RefreshTriggerPictures();
    BuildTriggerSteps(state_.TriggerLevels, state_.TriggerStepCount, state_.TriggerSteps);
}

bool Form1::SelectCurrentRate() {
    for (int i = 0; i < RateList->count(); ++i) {
        if (RateCodeOfLabel(RateList->itemText(i).toStdString()) == state_.RateCode[0]) {
            SelectEntry(RateList, i);
            return true;
        }
    }
    return false;
}

void Form1::RateList_Click() {
    if (const auto code = RateCodeOfLabel(RateList->currentText().toStdString()))
        state_.RateCode[0] = *code;
    WriteSetting("Rate", QString::fromStdString(PlainText(int64_t{state_.RateCode[0]})));
    ShowCaptureRate();
}

void Form1::ShowCaptureRate() {
    Label2->setText(QString::fromStdString(CaptureRateText(state_.RateCode[0])));
}

void Form1::SizeList_Click() {
    // A new buffer would free the samples the decoder reads.
    if (RefuseWhileDecoding(this, state_)) {
        const QSignalBlocker quiet(SizeList);
        SizeList->setCurrentIndex(SizeEntryOf(state_.BufferSamples));
        return;
    }
    state_.HaveCapture = false;
    AllocateSampleBuffer(BufferSamplesForEntry(SizeList->currentIndex()));
}

void Form1::AllocateSampleBuffer(int32_t samples) {
    PodcoreApi& pod = Podcore();
    state_.BufferSamples = samples;
    state_.SamplesRecorded = false;
    {
        const BusyCursor busy; // a buffer of gigabytes takes seconds to free and make
        pod.DeleteBuffer(state_.SampleBuffer);
        state_.SampleBuffer = pod.MakeBuffer(static_cast<uint32_t>(state_.BufferSamples));
    }
    if (state_.SampleBuffer == nullptr) {
        Output->Print("Failed to Allocate Memory");
        state_.DemoMode = true;
    }
    WriteSetting("NumberOfSamples",
                 QString::fromStdString(PlainText(int64_t{state_.BufferSamples})));
    Output->Print("BufferAllocated");
}

void Form1::PodList_Click() {
    if (!state_.PodAttached)
        return;
    // Opening a pod starts over without a capture while the decoder still works on it.
    if (RefuseWhileDecoding(this, state_)) {
        const QSignalBlocker quiet(PodList);
        PodList->setCurrentIndex(openPodEntry_);
        return;
    }
    openPodEntry_ = PodList->currentIndex();
    PodcoreApi& pod = Podcore();
    pod.ClosePod();
    const auto podId = RoundHalfEven(LeadingNumber(PodList->currentText().toStdString()));
    const bool ready = pod.InitializeKTLAPod(static_cast<uint32_t>(podId)) != 0;
    Output->Print(ready ? "InitOK" : "InitFailed");
    state_.DemoMode = !ready;
}

} // namespace norrik
