#include "decoders_ui/decoder_window.h"

#include "app_state.h"
#include "decode_guard.h"
#include "layout.h"
#include "podcore_api.h"
#include "status_caption.h"
#include "view/picture_surface.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace norrik {

namespace {

const QColor kLightGreen(0, 255, 0);
const QColor kLightRed(255, 0, 0);
const QColor kProgressInk(128, 0, 0);

// The output box shows CR LF, and a CR or LF of the data on its own, as a line break.
QString ScreenText(std::string_view text) {
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

} // namespace

DecoderWindow::DecoderWindow(QWidget* parent, AppState& state, const QString& title,
                             const QString& buttonCaption, QSize size, int outputTop)
    : QWidget(parent, Qt::Window), state_(state) {
    setWindowTitle(title);
    setFixedSize(size);
    // Closing discards the settings and the output: the next opening loads the window afresh.
    setAttribute(Qt::WA_DeleteOnClose);

    const int right = size.width() * kTwipsPerPixel;
    Command1 = new QPushButton(buttonCaption, this);
    Command1->setGeometry(Twips(right - 2415, 120, 2295, 495));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Status = new QLabel(this);
    Status->setGeometry(Twips(right - 2415, 720, 2295, 375));
    Status->setAlignment(Qt::AlignCenter);
    Status->setAutoFillBackground(true);
    QFont statusFont("MS Sans Serif");
    statusFont.setPointSizeF(8.25);
    statusFont.setBold(true);
    Status->setFont(statusFont);
    ShowStatus("Ready", kLightGreen);

    Progress = new PictureSurface(this, Twips(right - 2415, 1200, 2295, 255), true);

    Text1 = new QPlainTextEdit(this);
    Text1->setGeometry(
        Twips(120, outputTop, right - 240, size.height() * kTwipsPerPixel - outputTop - 120));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setReadOnly(true);
}

void DecoderWindow::UseFixedPitchOutput() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    Text1->setFont(font);
}

void DecoderWindow::Command1_Click() {
    if (decoding_ || RefuseWhileDecoding(this, state_))
        return;
    decoding_ = true;
    cancelRequested_ = false;
    state_.RunningDecoder = Command1->text().toStdString();
    Command1->setEnabled(false);
    ShowStatus("Processing...", kLightRed);
    Progress->Cls();
    Progress->update();

    decoders::DecodeContext context{
        decoders::ReaderOfBuffer(state_.SampleBuffer, state_.BufferSamples)};
    context.screenStart = state_.ScreenStart;
    context.bufferSamples = state_.BufferSamples;
    context.rateCode = state_.RateCode[0];
    // The fixed demo lines describe the demo pattern only; a file or a pod capture is decoded.
    context.demoMode = state_.DemoMode && !state_.SamplesRecorded;
    context.scratchFile = kScratchFile;

    decoders::DecodeHooks hooks;
    hooks.replaceText = [this](const std::string& text) { ReplaceText(text); };
    hooks.appendText = [this](const std::string& text) { AppendText(text); };
    hooks.progress = [this](double fraction) { DrawProgress(fraction); };
    hooks.setScreenStart = [this](int32_t position) { state_.ScreenStart = position; };
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    hooks.cancelRequested = [this] { return cancelRequested_; };
    hooks.eventInterval = kEventInterval;
    hooks.textInterval = kTextInterval;
    // A scratch file that cannot be written changes nothing for a short output: the text comes
    // from memory either way. A long one says what became of the lines Text1 leaves out.
    const decoders::DecodeOutcome outcome = Decode(context, hooks);
    AddToText1(shown_.Note(QDir::current().absoluteFilePath(kScratchFile).toStdString(),
                           outcome.scratchFileWritten));

    ShowStatus("Complete", kLightGreen);
    Command1->setEnabled(true);
    state_.RunningDecoder.clear();
    decoding_ = false;
    // Closed during the run and not opened again from the menu since.
    if (closeAfterRun_ && !isVisible())
        close();
    closeAfterRun_ = false;
}

void DecoderWindow::closeEvent(QCloseEvent* event) {
    if (decoding_) {
        cancelRequested_ = true;
        closeAfterRun_ = true;
        hide();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void DecoderWindow::ShowStatus(const QString& caption, const QColor& background) {
    ShowCaptionOn(Status, caption, background);
}

void DecoderWindow::ReplaceText(const std::string& text) {
    shown_.Clear();
    text_.clear();
    Text1->clear();
    AppendText(text);
}

void DecoderWindow::AppendText(const std::string& text) {
    AddToText1(shown_.Add(text));
}

void DecoderWindow::AddToText1(std::string_view text) {
    if (text.empty())
        return;
    // A CR LF split between two additions: its CR already shows as the line break.
    const bool joinsLineEnd = !text_.empty() && text_.back() == '\r' && text.front() == '\n';
    text_ += text;
    QTextCursor end = Text1->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(ScreenText(joinsLineEnd ? text.substr(1) : text));
    Text1->verticalScrollBar()->setValue(Text1->verticalScrollBar()->maximum());
}

void DecoderWindow::DrawProgress(double fraction) {
    QPainter painter(&Progress->Picture());
    painter.fillRect(QRectF(0, 0, Progress->ScaleWidth() * fraction, Progress->ScaleHeight()),
                     kProgressInk);
    Progress->update();
}

} // namespace norrik
