// Save As and Open: the capture with its settings and view, in the program's own capture files
// through the library's file calls, or in the formats of other tools through norrik/interchange.
#include "acquisition_settings.h"
#include "capture_file_fields.h"
#include "decode_guard.h"
#include "file_dialog.h"
#include "file_work.h"
#include "form1.h"
#include "interchange/buffer_plan.h"
#include "interchange/capture_io.h"
#include "interchange/foreign_read.h"
#include "interchange/nrk_file.h"
#include "message_box.h"
#include "number_text.h"
#include "podcore_api.h"
#include "process_end.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace norrik {
namespace {

using interchange::CaptureFormat;

// The capture engine writes into the buffer until it has stopped: a file must neither read a
// buffer being filled nor free it.
bool RefuseWhileCapturing(Form1& window) {
    if (!window.CaptureBusy())
        return false;
    ShowMessage(&window, {"Tarnwick Logic Analyzer", "Stop the capture before saving or opening "
                                                     "a file."});
    return true;
}

// A reason as a sentence of a message: "The file is empty."
QString Sentence(const std::string& reason) {
    QString text = QString::fromStdString(reason);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    if (!text.endsWith('.'))
        text += '.';
    return text;
}

QString Lines(const std::vector<std::string>& notes) {
    QStringList lines;
    for (const std::string& note : notes)
        lines << QString::fromStdString(note);
    return lines.join('\n');
}

// The progress dialog for large files; the library reports none of its own.
FileProgress ProgressFor(qint64 bytes, CaptureFormat format) {
    if (bytes < kLargeFileBytes)
        return FileProgress::None;
    return format == CaptureFormat::Nrk ? FileProgress::Moving : FileProgress::Measured;
}

// Marks the window busy with a file, under the busy cursor, for as long as it lives: the buffer
// being made for a file takes its time too.
class FileWorkScope {
public:
    explicit FileWorkScope(bool& running) : running_(running) {
        running_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~FileWorkScope() {
        QApplication::restoreOverrideCursor();
        running_ = false;
    }

private:
    bool& running_;
};

} // namespace

CaptureFileFields Form1::CurrentFileFields() const {
    return FieldsOfState(state_, InternalCLK->isChecked(),
                         static_cast<uint32_t>(TriggerPositionScroll->value()));
}

bool Form1::FileWorkRunning() const {
    return fileWorkRunning_;
}

void Form1::SaveCapture() {
    if (RefuseWhileCapturing(*this) || RefuseWhileDecoding(this, state_))
        return;
    const auto chosen = AskCaptureFileName(this, FileDialogKind::Save, CommonDialogFileName);
    if (!chosen)
        return;
    CommonDialogFileName = chosen->name;
    // The filter decides the format; under "All Files" the name's extension does.
    const CaptureFormat format = chosen->format.value_or(
        interchange::FormatOfExtension(chosen->name.toStdString()).value_or(CaptureFormat::Nrk));
    const std::string path = QFile::encodeName(chosen->name).toStdString();
    const CaptureFileFields fields = CurrentFileFields();
    const uint32_t* samples = state_.SampleBuffer;
    std::string why;
    bool saved = false;
    {
        const FileWorkScope busy(fileWorkRunning_);
        // An end asked for while the file is written waits until it is whole.
        const FileBeingWritten writing;
        saved = RunFileWork(
            this, "Saving " + chosen->name, ProgressFor(qint64{state_.BufferSamples} * 4, format),
            [&](const interchange::ProgressHook& progress) {
                return samples != nullptr &&
                       interchange::WriteBufferToFile(Podcore(), samples, fields, path, format, {},
                                                      progress, why);
            });
    }
    if (!saved)
        ShowMessage(this, {"Tarnwick Logic Analyzer",
                           "Could Not Save " + chosen->name + "\n" +
                               (why.empty() ? QString() : Sentence(why) + " ") +
                               "The capture was not saved; a file of that name was left as it "
                               "was.",
                           QMessageBox::Warning});
}

void Form1::OpenCapture() {
    if (RefuseWhileCapturing(*this) || RefuseWhileDecoding(this, state_))
        return;
    const auto chosen = AskCaptureFileName(this, FileDialogKind::Open, CommonDialogFileName);
    if (chosen)
        OpenCaptureNamed(chosen->name);
}

void Form1::OpenCaptureNamed(const QString& name) {
    if (RefuseWhileCapturing(*this) || RefuseWhileDecoding(this, state_))
        return;
    CommonDialogFileName = name;
    const std::string path = QFile::encodeName(name).toStdString();
    CaptureFormat format = CaptureFormat::Nrk;
    std::vector<std::string> notes;
    std::string why;
    bool opened = false;
    {
        const FileWorkScope busy(fileWorkRunning_);
        // Whatever the open does to the buffer, a summary of the samples before it no longer
        // holds.
        sampleSummary_ = SampleSummary();
        opened = interchange::FormatOfContent(path, format, why) &&
                 (format == CaptureFormat::Nrk ? OpenNrkFile(path, notes, why)
                                               : OpenForeignFile(path, format, notes, why));
    }
    if (!opened) {
        ShowMessage(this,
                    {"Tarnwick Logic Analyzer", "Could Not Read " + name + "\n" + Sentence(why)});
        return;
    }
    state_.SamplesRecorded = true;
    FocusWaveform();
    if (!notes.empty())
        ShowMessage(this, {"Tarnwick Logic Analyzer", "Opened " + name + "\n" + Lines(notes)});
}

bool Form1::SizeBufferForFile(const interchange::BufferPlan& plan, std::string& why) {
    if (plan.sizeEntry >= 0)
        SelectEntry(SizeList, plan.sizeEntry);
    if (plan.bufferSamples != state_.BufferSamples || state_.SampleBuffer == nullptr)
        AllocateSampleBuffer(plan.bufferSamples);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (state_.SampleBuffer == nullptr)
        why = "cannot make a buffer of " + std::to_string(plan.bufferSamples) + " samples";
    return state_.SampleBuffer != nullptr;
}

bool Form1::OpenNrkFile(const std::string& path, std::vector<std::string>& notes,
                        std::string& why) {
    // A file without a whole settings block and a sample is no capture: it is refused before
    // the capture on screen is given up.
    PodcoreApi& pod = Podcore();
    interchange::NrkCheck check;
    if (!interchange::CheckNrkFile(pod, path, check, why))
        return false;
    const interchange::BufferPlan plan =
        interchange::PlanBuffer(check.Readable(), state_.BufferSamples, state_.MaxBufferSamples);
    if (!SizeBufferForFile(plan, why))
        return false;

    // Fields missing from a short settings block keep the values they have now.
    CaptureFileFields fields = CurrentFileFields();
    int32_t read = 0;
    RunFileWork(this, "Opening " + QFile::decodeName(path.c_str()),
                ProgressFor(qint64(check.Readable()) * 4, CaptureFormat::Nrk),
                [&](const interchange::ProgressHook&) {
                    read = OpenCaptureFile(pod, fields, path.c_str());
                    return read > 0;
                });
    if (read <= 0) {
        why = "the samples cannot be read";
        return false;
    }
    // Nothing of the capture before stays behind a file shorter than the buffer.
    interchange::FillPastEnd(state_.SampleBuffer, state_.BufferSamples, uint32_t(read));
    notes = interchange::NrkNotes(check, plan);

    ApplyFields(fields, state_);
    TriggerPositionScroll->setValue(TriggerPercentOf(fields));
    RefillRateList();
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
    return true;
}

bool Form1::OpenForeignFile(const std::string& path, CaptureFormat format,
                            std::vector<std::string>& notes, std::string& why) {
    // The file is read whole before the capture on screen is given up.
    interchange::ForeignCapture capture;
    const interchange::ReadOptions options{std::nullopt,
                                           uint32_t(std::max(state_.MaxBufferSamples, 0))};
    const bool read = RunFileWork(
        this, "Opening " + QFile::decodeName(path.c_str()),
        ProgressFor(QFileInfo(QFile::decodeName(path.c_str())).size(), format),
        [&](const interchange::ProgressHook& progress) {
            return interchange::ReadForeignFile(format, path, options, progress, capture, why);
        });
    if (!read)
        return false;
    const interchange::BufferPlan plan = interchange::PlanBuffer(
        capture.samples.size(), state_.BufferSamples, state_.MaxBufferSamples);
    if (!SizeBufferForFile(plan, why))
        return false;
    interchange::InstallSamples(capture.samples, state_.SampleBuffer, state_.BufferSamples);
    notes = capture.notes;

    // The file carries samples and a rate only: the trigger pattern, the clock and the trigger
    // position stay the user's; the marks start at the capture's start and the view shows it all.
    state_.RateCode[0] = capture.rateCode;
    state_.TriggerSample = 0;
    state_.XCursor = 0;
    state_.OCursor = 0;
    RefillRateList();
    ZoomAllSetting();
    state_.HaveCapture = true;
    RedrawWaveforms();
    return true;
}

void Form1::RefillRateList() {
    RateList->clear();
    for (const RateChoice& rate : kRates)
        RateList->addItem(rate.label);
    if (!SelectCurrentRate())
        RateList->setCurrentIndex(-1);
    ShowCaptureRate();
}

} // namespace norrik
