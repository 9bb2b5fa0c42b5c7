// Startup and ending: from nothing to a window that can acquire, with a pod or in demo mode.
#include "acquisition_settings.h"
#include "busy_cursor.h"
#include "clickable_picture.h"
#include "diagnostic_log.h"
#include "form1.h"
#include "number_text.h"
#include "podcore_api.h"
#include "process_end.h"
#include "settings_store.h"
#include "trigger_pictures.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

namespace norrik {

void Form1::Form_Load() {
    state_.PodAttached = false;
    InitializeSystem();
    // The pod watch runs for the whole life of the window.
    Timer2->start();
}

void Form1::ShowPodReady(bool ready) {
    QPalette light = Light->palette();
    light.setColor(QPalette::Window, ready ? QColor(0, 255, 0) : QColor(255, 0, 0));
    Light->setPalette(light);
    DemoOn->setText(ready ? "Norrik OK" : "No Norrik");
    QPalette text = DemoOn->palette();
    text.setColor(QPalette::WindowText, ready ? QColor(0, 0, 0) : QColor(255, 0, 0));
    DemoOn->setPalette(text);
}

void Form1::InitializeSystem() {
    PodcoreApi& pod = Podcore();
    state_.SignalColors = ResistorColors();
    state_.PodAttached = false;
    state_.HoverMarkShown = false;
    state_.TimeReference = kTriggerReference;

    std::array<uint32_t, 257> podIds{};
    const int32_t pods = pod.EnumeratePods(podIds.data());
    PodList->clear();
    if (pods == 0 || pods == -1) {
        PodList->addItem("Demo");
        state_.DemoMode = true;
    } else {
        for (int32_t i = 0; i < pods && i < static_cast<int32_t>(podIds.size()); ++i)
            PodList->addItem(QString::fromStdString(PlainText(int64_t{podIds[size_t(i)]})));
    }
    SelectEntry(PodList, 0);
    openPodEntry_ = 0;

    const bool ready = pod.InitializeKTLAPod(podIds[0]) != 0;
    Output->Print(ready ? "InitOK" : "InitFailed");
    ShowPodReady(ready);
    state_.DemoMode = !ready;
    state_.HaveCapture = false;
    state_.SamplesRecorded = false;

    const int64_t picture =
        RoundHalfEven(LeadingNumber(ReadSetting("Tarnwick", "0").toStdString()));
    for (ClickablePicture* image : TW2Image)
        image->hide();
    TW2Image[picture >= 1 && picture <= 6 ? size_t(picture) : 0]->show();

    state_.RateCode = {kStartupRateCode, kStartupRateCode};

    state_.BufferSamples = RoundHalfEvenToInt32(
        LeadingNumber(ReadSetting("NumberOfSamples", "1048576").toStdString()));
    state_.MaxBufferSamples = static_cast<int32_t>(pod.GetMaxBufferSize());
    if (state_.BufferSamples > state_.MaxBufferSamples)
        state_.BufferSamples = state_.MaxBufferSamples;

    {
        const BusyCursor busy;
        state_.SampleBuffer = pod.MakeBuffer(static_cast<uint32_t>(state_.BufferSamples));
    }
    if (state_.SampleBuffer == nullptr) {
        Output->Print("Failed to Allocate Memory");
        state_.DemoMode = true;
    }
    Output->Print("BufferAllocated");

    state_.TriggerLevels.fill(kDontCare);
    state_.TriggerStepCount = 2;

    TRIGValid->setEnabled(false);
    CLKEdge->setEnabled(false);
    TRIGValid->ShowPicture(TriggerLevelPicture(kDontCare));
    CLKEdge->ShowPicture(TriggerLevelPicture(kRise));
    state_.TrigQualifier = 0;
    state_.ClockEdge = 0;

    state_.OCursor = 0;
    state_.XCursor = 0;

    RefreshSettingLists();
    state_.PodAttached = true;
}

void Form1::Form_Unload() {
    EndProcess();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    // Still here: a file is being written, and the process ends once it is done.
    event->ignore();
}

void Form1::ExitMenu_Click() {
    Form_Unload();
}

} // namespace norrik
