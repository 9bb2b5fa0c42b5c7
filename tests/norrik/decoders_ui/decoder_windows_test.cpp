// The decoder windows as a user meets them: opened from the View menu, one of each, decoding
// real captures opened into the library, and the run around the decoder.
#include "decoders_ui/i2c_decode.h"
#include "decoders_ui/serial_decode.h"
#include "decoders_ui/spi_window.h"
#include "file_dialog.h"
#include "interchange/capture_io.h"
#include "message_box.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "window_under_test.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace norrik;

namespace {

const QString kCaptures = CAPTURES;

QColor StatusColour(const DecoderWindow& window) {
    return window.Status->palette().color(QPalette::Window);
}

// What the command line prints for a capture with these arguments. It runs in a folder of its
// own, so that its scratch file can never stand in for the window's.
QByteArray CliOutput(const QStringList& arguments) {
    const QTemporaryDir folder;
    QProcess cli;
    cli.setWorkingDirectory(folder.path());
    cli.start(NORRIK_CLI, arguments);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        qWarning() << "norrik-cli failed:" << cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

// Runs `during` each time the window lets events through while its run goes on.
class DuringRun {
public:
    DuringRun(DecoderWindow& window, std::function<void()> during) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [&window, during = std::move(during)] {
            if (window.Decoding())
                during();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

// Window events that take their time, so that a short run lets events through more than once
// at its bounded rate.
void SlowEvents() {
    QThread::msleep(2 * DecoderWindow::kEventInterval.count());
}

// The scratch file in the working folder, whole.
QByteArray ScratchFile() {
    QFile scratch("temp.fil");
    return scratch.open(QIODevice::ReadOnly) ? scratch.readAll() : QByteArray();
}

} // namespace

class DecoderWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;
    QTemporaryDir workingFolder;

    QAction* Menu(const char* name) { return form->findChild<QAction*>(name); }

    // Opens a capture into the library as the Open command does and makes it the capture the
    // windows decode.
    void OpenCapture(const QString& name, int32_t screenStart = 0) {
        AppState& state = form->State();
        interchange::OpenedCapture capture;
        capture.buffer = state.SampleBuffer;
        capture.bufferSamples = state.BufferSamples;
        std::string error;
        QVERIFY2(interchange::OpenCaptureIntoBuffer(Podcore(),
                                                    (kCaptures + "/" + name).toStdString(),
                                                    std::nullopt, capture, error),
                 error.c_str());
        state.DemoMode = false;
        state.SampleBuffer = capture.buffer;
        state.BufferSamples = capture.bufferSamples;
        state.RateCode[0] = capture.fields.rateCode;
        state.ScreenStart = screenStart;
    }

    // The serial window on the 9600-baud capture, its line P0 chosen.
    SerialDecode& SerialOnTextCapture() {
        OpenCapture("uart_hello_9600.nrk");
        form->MenuSerial_Click();
        SerialDecode& window = *form->SerialDecodeWindow;
        window.signal->setCurrentText("P0");
        return window;
    }

    // The command line for the same decode.
    const QStringList serialCli = {"decode", "serial", "--signal", "P0",
                                   kCaptures + "/uart_hello_9600.nrk"};

    // Decodes the 2-wire capture in its window and compares with the command line.
    I2CDecode& TwoWireCaptureDecoded() {
        OpenCapture("i2c_ad5258_restart.nrk");
        form->MenuI2C_Click();
        I2CDecode& window = *form->I2CDecodeWindow;
        window.sdacombo->setCurrentText("P1");
        window.sclcombo->setCurrentText("P0");
        window.Command1->click();
        CompareWithCli(window, {"decode", "i2c", "--sda", "P1", "--scl", "P0",
                                kCaptures + "/i2c_ad5258_restart.nrk"});
        return window;
    }

    // The SPI window set for the lines and edges of the SPI capture.
    static void ChooseAllModesLines(SPI& window) {
        window.SSsignal->setCurrentText("P5");
        window.SCKsignal->setCurrentText("P4");
        window.SOsignal->setCurrentText("P3");
        window.SIsignal->setCurrentText("P2");
        window.DCFalling->setChecked(true);
        window.DSFalling->setChecked(true);
    }

    // The window's text equals the command line's for the same file and settings, and Text1
    // shows it with the screen's line ends.
    static void CompareWithCli(const DecoderWindow& window, const QStringList& arguments) {
        const QByteArray expected = CliOutput(arguments);
        QVERIFY(expected.startsWith("Decoding "));
        QCOMPARE(QByteArray::fromStdString(window.OutputText()), expected);
        QString shown = QString::fromLatin1(expected);
        shown.replace("\r\n", "\n").replace('\r', '\n');
        QCOMPARE(window.Text1->toPlainText(), shown);
    }

    // After a run: "Complete" on light green and the button free again.
    static void VerifyComplete(const DecoderWindow& window) {
        QCOMPARE(window.Status->text(), QString("Complete"));
        QCOMPARE(StatusColour(window), QColor(0, 255, 0));
        QVERIFY(window.Command1->isEnabled());
    }

    // After a run through the whole capture: complete, and the bar drawn to the right end.
    static void VerifyFinished(const DecoderWindow& window) {
        VerifyComplete(window);
        const QImage& bar = window.Progress->Picture();
        QCOMPARE(bar.pixelColor(0, bar.height() / 2), QColor(128, 0, 0));
        QCOMPARE(bar.pixelColor(bar.width() - 1, bar.height() / 2), QColor(128, 0, 0));
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
        // The scratch file lands in the working directory.
        QVERIFY(QDir::setCurrent(workingFolder.path()));
    }

    void init() { form = StartedWindow(); }

    void cleanup() {
        form.reset();
        QFile::remove("temp.fil");
        QDir("temp.fil").removeRecursively();
    }

    void eachMenuEntryShowsOneWindowThatKeepsItsState() {
        form->show();
        struct Case {
            const char* menu;
            std::function<DecoderWindow*()> window;
            QString title;
            QString button;
        };
        const Case cases[] = {
            {"MenuSerial", [&] { return form->SerialDecodeWindow.data(); }, "Serial Bus Decoder",
             "Async Serial Decode"},
            {"MenuI2C", [&] { return form->I2CDecodeWindow.data(); }, "Serial Bus Decoder",
             "2-Wire Serial Decode"},
            {"MenuSPI", [&] { return form->SPIWindow.data(); }, "SPI Decoder", "SPI Decode"},
        };
        form->State().DemoMode = true;
        for (const Case& c : cases) {
            QVERIFY(c.window() == nullptr);
            Menu(c.menu)->trigger();
            DecoderWindow* window = c.window();
            QVERIFY(window != nullptr);
            QVERIFY(window->isVisible());
            QVERIFY(!window->isModal());
            QCOMPARE(window->windowTitle(), c.title);
            QCOMPARE(window->Command1->text(), c.button);
            QCOMPARE(window->Status->text(), QString("Ready"));
            QCOMPARE(StatusColour(*window), QColor(0, 255, 0));

            window->Command1_Click();
            const std::string output = window->OutputText();
            QVERIFY(!output.empty());
            Menu(c.menu)->trigger();
            QCOMPARE(c.window(), window); // the same window, with its output
            QCOMPARE(window->OutputText(), output);

            const QPointer<DecoderWindow> closed = window;
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(closed.isNull());
            QVERIFY(c.window() == nullptr);
            Menu(c.menu)->trigger();
            QVERIFY(c.window() != nullptr);
            QVERIFY(c.window()->OutputText().empty()); // loaded afresh
            QCOMPARE(c.window()->Status->text(), QString("Ready"));
        }
    }

    void windowsOpenWithTheirDefaults() {
        form->MenuSerial_Click();
        SerialDecode& serial = *form->SerialDecodeWindow;
        QCOMPARE(serial.signal->count(), 20);
        QCOMPARE(serial.signal->itemText(16), QString("VDD"));
        QCOMPARE(serial.signal->currentText(), QString("SIN"));
        QCOMPARE(serial.BaudRate->text(), QString("9600"));
        QVERIFY(serial.lsbfirst->isChecked() && serial.normal->isChecked());
        QVERIFY(serial.Eight->isChecked() && serial.Both->isChecked());
        QCOMPARE(serial.Text1->font().family(), QString("Courier New"));

        form->MenuI2C_Click();
        I2CDecode& twoWire = *form->I2CDecodeWindow;
        QCOMPARE(twoWire.sdacombo->count(), 16);
        QCOMPARE(twoWire.sdacombo->currentText(), QString("P0"));
        QCOMPARE(twoWire.sclcombo->currentText(), QString("P1"));

        form->MenuSPI_Click();
        SPI& spi = *form->SPIWindow;
        QCOMPARE(spi.SSsignal->count(), 17);
        QCOMPARE(spi.SSsignal->currentText(), QString("None"));
        QCOMPARE(spi.SCKsignal->currentText(), QString("P1"));
        QCOMPARE(spi.SOsignal->currentText(), QString("P0"));
        QCOMPARE(spi.SIsignal->currentText(), QString("P0"));
        QVERIFY(spi.DCRising->isChecked() && spi.DSRising->isChecked());
        QVERIFY(spi.lsbfirst->isChecked() && spi.Hexy->isChecked());
        QCOMPARE(spi.BytesPerRow->text(), QString("8"));
    }

    void serialCaptureDecodesAsTheCommandLineDoes() {
        SerialDecode& window = SerialOnTextCapture();
        window.Asciii->setChecked(true);
        window.Command1->click();
        CompareWithCli(window, {"decode", "serial", "--signal", "P0", "--display", "ascii",
                                kCaptures + "/uart_hello_9600.nrk"});
        QVERIFY(window.OutputText().find("Hello World!\r\n") != std::string::npos);
        VerifyFinished(window);
        QCOMPARE(form->State().ScreenStart, 0);
    }

    void twoWireCaptureDecodesAsTheCommandLineDoes() {
        const I2CDecode& window = TwoWireCaptureDecoded();
        QVERIFY(window.OutputText().find(" SlaveID: 35 Read\r\n") != std::string::npos);
        VerifyFinished(window);
    }

    void spiCaptureDecodesAsTheCommandLineDoesAndScreenStartIsRestored() {
        OpenCapture("spi_allmodes_lsb.nrk", 474);
        form->MenuSPI_Click();
        SPI& window = *form->SPIWindow;
        ChooseAllModesLines(window);
        QList<int32_t> screenStarts;
        QString statusDuringRun;
        QColor colourDuringRun;
        {
            const DuringRun watch(window, [&] {
                SlowEvents();
                screenStarts << form->State().ScreenStart;
                statusDuringRun = window.Status->text();
                colourDuringRun = StatusColour(window);
                QVERIFY(!window.Command1->isEnabled());
            });
            window.Command1->click();
        }
        CompareWithCli(window, {"decode", "spi", "--start", "474", "--ss", "P5", "--sck", "P4",
                                "--so", "P3", "--si", "P2", "--so-edge", "falling", "--si-edge",
                                "falling", kCaptures + "/spi_allmodes_lsb.nrk"});
        QVERIFY(window.OutputText().find("SI: 5A 6B 7C 8D 9E \r\n") != std::string::npos);
        // The screen start followed the decoder during the run and is back at its origin.
        QVERIFY(!screenStarts.isEmpty());
        QVERIFY(screenStarts.last() > 474);
        QCOMPARE(statusDuringRun, QString("Processing..."));
        QCOMPARE(colourDuringRun, QColor(255, 0, 0));
        QCOMPARE(form->State().ScreenStart, 474);
        VerifyFinished(window);

        // The window's own scratch file holds what was added after the two header lines.
        const std::string header = decoders::HeaderText(decoders::DecoderKind::Spi);
        QCOMPARE(ScratchFile(),
                 QByteArray::fromStdString(window.OutputText().substr(header.size())));
    }

    void demoRunsAddUpInTheSerialAndSpiWindowsButNotInTheTwoWireWindow() {
        form->State().DemoMode = true;
        form->MenuSerial_Click();
        form->MenuSPI_Click();
        form->MenuI2C_Click();
        const std::string serialLines = "Decoding Asynchronous serial bus transactions from the "
                                        "beginning of the waveform screen.\r\nPlease wait...\r\n"
                                        "'P' = 0x50\r\n'l' = 0x6C\r\n'i' = 0x69\r\n'n' = 0x6E\r\n"
                                        "'k' = 0x6B\r\n'e' = 0x65\r\n't' = 0x74\r\n' ' = 0x20\r\n"
                                        "'K' = 0x4B\r\n'T' = 0x54\r\n";
        const std::string spiLines = "Decoding SPI serial bus transactions from the beginning of "
                                     "the waveform screen.\r\nPlease wait...\r\n'N' = 0x4E\r\n"
                                     "'o' = 0x6F\r\n'r' = 0x72\r\n'r' = 0x72\r\n'i' = 0x69\r\n"
                                     "'k' = 0x6B\r\n";
        for (int press = 0; press < 2; ++press) {
            form->SerialDecodeWindow->Command1->click();
            form->SPIWindow->Command1->click();
            form->I2CDecodeWindow->Command1->click();
        }
        QCOMPARE(form->SerialDecodeWindow->OutputText(), serialLines + serialLines);
        QCOMPARE(form->SPIWindow->OutputText(), spiLines + spiLines);
        const std::string& twoWire = form->I2CDecodeWindow->OutputText();
        QVERIFY(twoWire.starts_with("Decoding 2-wire serial bus transactions from the beginning "
                                    "of the waveform screen.\r\nPlease wait...\r\nStart\r\n"
                                    "A1 Control Byte: Slave Address 50 Read\r\n"));
        QVERIFY(twoWire.ends_with(" NACK\r\nStop\r\n"));
        QCOMPARE(QByteArray::fromStdString(twoWire).count("Please wait..."), 1); // one copy
        // No sample was read: the bar stays empty.
        VerifyComplete(*form->SerialDecodeWindow);
        const QImage& bar = form->SerialDecodeWindow->Progress->Picture();
        QCOMPARE(bar.pixelColor(0, 0), QColor(Qt::white));
    }

    void aPressDuringARunStartsNoSecondRun() {
        SerialDecode& window = SerialOnTextCapture();
        int presses = 0;
        {
            const DuringRun watch(window, [&] {
                ++presses;
                window.Command1_Click();
                window.Command1->click(); // disabled: no click gets through either
            });
            window.Command1->click();
        }
        QVERIFY(presses > 0);
        CompareWithCli(window, serialCli);
        VerifyFinished(window);
    }

    void closingDuringARunCancelsItKeepingTheTextSoFar() {
        OpenCapture("i2c_ad5258_restart.nrk");
        form->MenuI2C_Click();
        QPointer<I2CDecode> window = form->I2CDecodeWindow.data();
        window->sdacombo->setCurrentText("P1");
        window->sclcombo->setCurrentText("P0");
        int pumps = 0;
        {
            const DuringRun watch(*window, [&] {
                SlowEvents();
                if (++pumps == 3)
                    window->close();
            });
            QTest::mouseClick(window->Command1, Qt::LeftButton);
        }
        QCOMPARE(pumps, 3);         // the run ended at the close
        QVERIFY(window != nullptr); // kept for the end of its run
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window == nullptr);
        QVERIFY(form->I2CDecodeWindow == nullptr);
        QVERIFY(form->State().RunningDecoder.empty());
        QCOMPARE(form->State().ScreenStart, 0);

        // The scratch file holds the start of the whole output, and only its start.
        const QByteArray whole = CliOutput(
            {"decode", "i2c", "--sda", "P1", "--scl", "P0", kCaptures + "/i2c_ad5258_restart.nrk"});
        const QByteArray header =
            QByteArray::fromStdString(decoders::HeaderText(decoders::DecoderKind::TwoWire));
        const QByteArray scratch = ScratchFile();
        QVERIFY(!scratch.isEmpty());
        QVERIFY(header.size() + scratch.size() < whole.size());
        QVERIFY(whole.startsWith(header + scratch));
    }

    void commandsThatWouldDisturbARunRefuseAndSaySo() {
        QStringList messages;
        SetMessageAnswerer([&](const MessageRequest& request) {
            messages << request.text;
            return QMessageBox::Ok;
        });
        int dialogs = 0;
        SetFileDialogRunner([&](FileDialogKind, const QString&) -> std::optional<ChosenFile> {
            ++dialogs;
            return std::nullopt;
        });
        SerialDecode& window = SerialOnTextCapture();
        form->MenuSPI_Click();
        SPI& other = *form->SPIWindow;
        AppState& state = form->State();
        const uint32_t* buffer = state.SampleBuffer;
        const int32_t samples = state.BufferSamples;
        const int sizeEntry = form->SizeList->currentIndex();
        QVERIFY(form->SizeList->count() > 1);

        struct Command {
            const char* name;
            std::function<void()> press;
        };
        const std::vector<Command> commands = {
            {"other decoder", [&] { QTest::mouseClick(other.Command1, Qt::LeftButton); }},
            {"Acquire", [&] { QTest::mouseClick(form->Command1, Qt::LeftButton); }},
            {"Open", [&] { QTest::mouseClick(form->Command18, Qt::LeftButton); }},
            {"Open menu", [&] { form->findChild<QAction*>("OpenMenu")->trigger(); }},
            {"Save As", [&] { form->findChild<QAction*>("SaveAsMenu")->trigger(); }},
            {"size list",
             [&] {
                 form->SizeList->setCurrentIndex(sizeEntry == 0 ? 1 : 0);
                 emit form->SizeList->activated(form->SizeList->currentIndex());
             }},
            {"pod list", [&] { emit form->PodList->activated(0); }},
        };
        size_t next = 0;
        {
            const DuringRun watch(window, [&] {
                if (next < commands.size())
                    commands[next++].press();
            });
            QTest::mouseClick(window.Command1, Qt::LeftButton);
            // The run lets events through at its own rate: it is pressed again until every
            // command was tried during a run.
            while (next < commands.size())
                QTest::mouseClick(window.Command1, Qt::LeftButton);
        }
        SetMessageAnswerer({});
        SetFileDialogRunner({});

        QCOMPARE(dialogs, 0);
        QVERIFY(!state.Acquiring);
        QCOMPARE(state.SampleBuffer, buffer);
        QCOMPARE(state.BufferSamples, samples);
        QCOMPARE(form->SizeList->currentIndex(), sizeEntry);
        QCOMPARE(other.Status->text(), QString("Ready"));
        QCOMPARE(messages.size(), qsizetype(commands.size()));
        for (const QString& message : messages)
            QVERIFY2(message.startsWith("Async Serial Decode is running."), qPrintable(message));
        CompareWithCli(window, serialCli);

        // Once the run is complete, the same commands act again.
        QTest::mouseClick(other.Command1, Qt::LeftButton);
        QCOMPARE(other.Status->text(), QString("Complete"));
    }

    void aFileOpenedWithoutAPodDecodesToItsOwnTraffic() {
        form->show();
        AppState& state = form->State();
        QVERIFY(state.DemoMode); // no pod here
        form->MenuSPI_Click();
        SPI& window = *form->SPIWindow;
        const auto decode = [&] {
            QTest::mouseClick(window.Command1, Qt::LeftButton);
            QCOMPARE(window.Status->text(), QString("Complete"));
        };
        // The demo pattern gives the demo lines.
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form->CaptureBusy() && state.HaveCapture, 10000);
        decode();
        const std::string demo = decoders::DemoText(decoders::DecoderKind::Spi);
        QCOMPARE(window.OutputText(), demo);

        const QString file = kCaptures + "/spi_allmodes_lsb.nrk";
        SetFileDialogRunner([&](FileDialogKind, const QString&) {
            return std::optional<ChosenFile>(ChosenFile{file, std::nullopt});
        });
        QTest::mouseClick(form->Command18, Qt::LeftButton);
        SetFileDialogRunner({});
        QVERIFY(state.DemoMode);
        ChooseAllModesLines(window);
        decode();
        CompareWithCli(window, {"decode", "spi", "--start", QString::number(state.ScreenStart),
                                "--ss", "P5", "--sck", "P4", "--so", "P3", "--si", "P2",
                                "--so-edge", "falling", "--si-edge", "falling", file});
        QVERIFY(window.OutputText().find("SI: 5A 6B 7C 8D 9E") != std::string::npos);

        // A demo capture again: the demo lines again, added to the text as demo runs are.
        QTRY_VERIFY_WITH_TIMEOUT(form->Command1->isEnabled(), 5000);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form->CaptureBusy(), 10000);
        const std::string opened = window.OutputText();
        decode();
        QCOMPARE(window.OutputText(), opened + demo);
    }

    void scratchFileThatCannotBeWrittenStillShowsTheOutput() {
        QVERIFY(QDir().mkdir("temp.fil")); // a folder where the file should go
        VerifyFinished(TwoWireCaptureDecoded());
    }

    void baudRateWithoutAPositiveNumberSaysSo() {
        SerialDecode& window = SerialOnTextCapture();
        for (const char* baud : {"0", "", "fast"}) {
            window.BaudRate->setText(baud);
            window.Command1->click();
            QVERIFY(window.OutputText().ends_with(
                "Please wait...\r\nBaud Rate must be a number greater than 0.\r\n"));
            QCOMPARE(window.Status->text(), QString("Complete"));
        }
    }

    void polarityLoggedDataInvertsEveryBitUnlessNormal() {
        OpenCapture("spi_allmodes_lsb.nrk");
        for (const int32_t index : {0, 474, 600, 1048575, 2000000}) {
            const int32_t sample = Podcore().LoggedData(static_cast<uint32_t>(index));
            QCOMPARE(SerialDecode::PolarityLoggedData(index, true), sample);
            QCOMPARE(SerialDecode::PolarityLoggedData(index, false), ~sample);
        }
    }
};

QTEST_MAIN(DecoderWindowsTest)
#include "decoder_windows_test.moc"
