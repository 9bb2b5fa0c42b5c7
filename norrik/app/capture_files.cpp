// Save As and Open: the capture with its settings and view, through the library's file calls.
#include "acquisition_settings.h"
#include "capture_file_fields.h"
#include "file_dialog.h"
#include "form1.h"
#include "message_box.h"
#include "number_text.h"
#include "open_sizing.h"
#include "podcore_api.h"
#include "process_end.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace norrik {
namespace {

// The settings block and at least one sample word.
constexpr int64_t kSmallestCaptureFile = 80 + 4;

// The capture engine writes into the buffer until it has stopped: a file must neither read a
// buffer being filled nor free it.
bool RefuseWhileCapturing(Form1& window) {
    if (!window.CaptureBusy())
        return false;
    ShowMessage(&window, {"Tarnwick Logic Analyzer", "Stop the capture before saving or opening "
                                                     "a file."});
    return true;
}

} // namespace

CaptureFileFields Form1::CurrentFileFields() const {
    return FieldsOfState(state_, InternalCLK->isChecked(),
                         static_cast<uint32_t>(TriggerPositionScroll->value()));
}

void Form1::SaveCapture() {
    if (RefuseWhileCapturing(*this))
        return;
    const auto chosen = AskCaptureFileName(this, FileDialogKind::Save, CommonDialogFileName);
    if (!chosen)
        return;
    CommonDialogFileName = *chosen;
    CaptureFileFields fields = CurrentFileFields();
    bool saved = false;
    {
        const FileBeingWritten writing;
        saved = SaveCaptureFile(Podcore(), fields, QFile::encodeName(*chosen).constData()) != 0;
    }
    if (!saved) {
        ShowMessage(this, {"Tarnwick Logic Analyzer",
                           "Could Not Save " + *chosen +
                               "\nThe capture was not saved; a file of that name was left as it "
                               "was.",
                           QMessageBox::Warning});
    }
}

void Form1::OpenCapture() {
    if (RefuseWhileCapturing(*this))
        return;
    // Whatever the open does to the buffer, a summary of the samples before it no longer holds.
    sampleSummary_ = SampleSummary();
    const auto chosen = AskCaptureFileName(this, FileDialogKind::Open, CommonDialogFileName);
    if (!chosen)
        return;
    CommonDialogFileName = *chosen;
    const QByteArray name = QFile::encodeName(*chosen);
    const auto couldNotRead = [&] {
        ShowMessage(this, {"Tarnwick Logic Analyzer", "Could Not Read " + *chosen});
    };

    // A file without a whole settings block and a sample is no capture: say so before the
    // capture on screen is given up.
    PodcoreApi& pod = Podcore();
    uint32_t count = 0;
    if (QFileInfo(*chosen).size() < kSmallestCaptureFile ||
        pod.GetFileBufferSize(&count, name.constData()) == 0) {
        couldNotRead();
        return;
    }

    const OpenSizing sizing = SizeForOpen(count, state_.BufferSamples, state_.MaxBufferSamples);
    if (sizing.sizeEntry >= 0)
        SelectEntry(SizeList, sizing.sizeEntry);
    if (sizing.bufferSamples != state_.BufferSamples || state_.SampleBuffer == nullptr)
        AllocateSampleBuffer(sizing.bufferSamples);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    // Fields missing from a short settings block keep the values they have now.
    CaptureFileFields fields = CurrentFileFields();
    if (state_.SampleBuffer == nullptr || OpenCaptureFile(pod, fields, name.constData()) == 0) {
        couldNotRead();
        return;
    }
    ApplyFields(fields, state_);
    TriggerPositionScroll->setValue(TriggerPercentOf(fields));

    RateList->clear();
    for (const RateChoice& rate : kRates)
        RateList->addItem(rate.label);
    if (!SelectCurrentRate())
        RateList->setCurrentIndex(-1);
    ShowCaptureRate();

    ScaleP->setText(QString::fromStdString(PlainText(int64_t{state_.Scale})));
    SubScale->setText(QString::fromStdString(PlainText(int64_t{state_.SubScale})));
    // A file's zoom is brought to a valid setting before the view is placed with it.
    ReadZoomSetting();
    RefreshTriggerPictures();
    CenterViewOn(state_.CenterSample);
    state_.HaveCapture = true;
    // Choosing the clock option from here does what the user's choice does, redraw included.
    if (InternalClockOf(fields)) {
        InternalCLK->setChecked(true);
        InternalCLK_Click();
    } else {
        ExternalCLK->setChecked(true);
        ExternalCLK_Click();
    }
    FocusWaveform();
}

} // namespace norrik
