// What the three decoder windows share: the decode button, the output box, the status label and
// the progress bar, and the procedure around a run (status, progress, event pumping, the screen
// start). The protocol logic is the engine's; each window only passes it its settings.
#pragma once

#include "decoders/decode_procedure.h"
#include "decoders_ui/shown_output.h"

#include <QWidget>

#include <chrono>
#include <string>
#include <string_view>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace norrik {

struct AppState;
class PictureSurface;

class DecoderWindow : public QWidget {
public:
    // The decode button's handler. A press while a run is going does nothing: the run lets
    // window events through, and a second run would decode into the same output. While
    // another window's decoder runs, the press is refused with a message.
    void Command1_Click();
    bool Decoding() const { return decoding_; }

    // The output as Text1 holds it, exactly as the decoder wrote it (Text1 shows it with the
    // line ends of the screen): all of it, or its first kShownBytes and a closing note.
    const std::string& OutputText() const { return text_; }

    // Where the decoders leave their text, relative to the working directory.
    static constexpr const char* kScratchFile = "temp.fil";

    // How much output Text1 holds before it leaves the rest to the scratch file.
    static constexpr size_t kShownBytes = size_t{2} << 20;
    // During a run, window events run at most this often, and text reaches Text1 at most this
    // often.
    static constexpr std::chrono::milliseconds kEventInterval{25};
    static constexpr std::chrono::milliseconds kTextInterval{100};

    QPushButton* Command1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLabel* Status = nullptr;
    PictureSurface* Progress = nullptr;

protected:
    // The common controls sit at the top right; `outputTop` is where Text1 begins.
    DecoderWindow(QWidget* parent, AppState& state, const QString& title,
                  const QString& buttonCaption, QSize size, int outputTop);

    // Runs the window's decoder with its settings.
    virtual decoders::DecodeOutcome Decode(const decoders::DecodeContext& context,
                                           const decoders::DecodeHooks& hooks) = 0;

    // Text1 in the fixed-pitch font of the serial and SPI windows.
    void UseFixedPitchOutput();

    // Closing during a run cancels it and hides the window; it is discarded once the run has
    // stopped, as the run still works with it.
    void closeEvent(QCloseEvent* event) override;

    AppState& state_;

private:
    void ShowStatus(const QString& caption, const QColor& background);
    void ReplaceText(const std::string& text);
    void AppendText(const std::string& text);
    void AddToText1(std::string_view text);
    void DrawProgress(double fraction);

    std::string text_;
    ShownOutput shown_{kShownBytes};
    bool decoding_ = false;
    bool cancelRequested_ = false;
    bool closeAfterRun_ = false;
};

} // namespace norrik
