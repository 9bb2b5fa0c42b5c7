// Open and Save As in the formats of other tools, through the window with the built library:
// the filters of the real dialog, the format told by content, the capture kept until a file is
// read whole, what reading changed told in one message, and large files under a progress dialog
// that moves while the window waits.
#include "file_dialog.h"
#include "file_work.h"
#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "window_under_test.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace norrik {
namespace {

using interchange::CaptureFormat;

constexpr uint32_t kLineBits = 0x1BFFFF;
const QString kOtherTools = OTHER_TOOLS;

std::vector<uint32_t> BufferContents(const AppState& state) {
    return {state.SampleBuffer, state.SampleBuffer + state.BufferSamples};
}

QByteArray FileStart(const QString& path, int bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

int32_t CountingEnumeratePods(uint32_t*);
std::atomic<int> enumerations{0};
int32_t CountingEnumeratePods(uint32_t*) {
    ++enumerations;
    return 0;
}

} // namespace

class ForeignFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<Form1> form;
    std::optional<ChosenFile> dialogAnswer;
    QStringList messages;

    QString PathOf(const char* name) const { return folder.filePath(name); }

    // Samples of the twenty lines, a different value every few samples, at 8 MS/s.
    void SetCapture() {
        AppState& s = form->State();
        for (int32_t i = 0; i < s.BufferSamples; ++i)
            s.SampleBuffer[i] = (uint32_t(i / 3) * 2654435761u) & kLineBits;
        s.RateCode[0] = 87;
        s.XCursor = 1234;
        s.HaveCapture = true;
        form->ZoomAllSetting();
    }

    void SaveTo(const QString& path, std::optional<CaptureFormat> format) {
        dialogAnswer = ChosenFile{path, format};
        form->SaveCapture();
    }

    void OpenFrom(const QString& path) {
        dialogAnswer = ChosenFile{path, std::nullopt};
        form->OpenCapture();
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
        SetMessageAnswerer([this](const MessageRequest& request) {
            messages << request.text;
            return QMessageBox::Ok;
        });
    }

    void init() {
        SetFileDialogRunner([this](FileDialogKind, const QString&) { return dialogAnswer; });
        form = StartedWindow();
        messages.clear();
    }

    // The open dialog lists every format and starts at the capture files; in the save dialog
    // the filter chosen decides the format and the extension a bare name gets.
    void theRealDialogOffersEveryFormat() {
        SetFileDialogRunner({});
        QStringList filters;
        QString selected;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            filters = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            dialog->reject();
        });
        QVERIFY(!AskCaptureFileName(form.get(), FileDialogKind::Open, QString()));
        QCOMPARE(filters, QStringList({"All Files (*)", "Capture Files (*.nrk)",
                                       "Sigrok Session Files (*.sr)", "Value Change Dumps (*.vcd)",
                                       "CSV Tables (*.csv)",
                                       "All Capture Formats (*.nrk *.sr *.vcd *.csv)"}));
        QCOMPARE(selected, QString("Capture Files (*.nrk)"));

        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(types != nullptr);
            types->setFocus();
            // Down from the capture files is the session files, then the dumps: as a user picks.
            QTest::keyClick(types, Qt::Key_Down);
            QTest::keyClick(types, Qt::Key_Down);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("chosen");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen = AskCaptureFileName(form.get(), FileDialogKind::Save, PathOf("x.nrk"));
        QVERIFY(chosen);
        QCOMPARE(chosen->format, std::optional<CaptureFormat>(CaptureFormat::Vcd));
        QCOMPARE(QFileInfo(chosen->name).fileName(), QString("chosen.vcd"));
    }

    // A session another analyzer recorded on a real bus opens whole: its lines by number, its
    // rate brought to the nearest capture rate, both told, and the view showing it all.
    void aSessionOfAnotherAnalyzerOpens() {
        SetCapture();
        const QString path = kOtherTools + "/rtc_ds1307_200khz.sr";
        OpenFrom(path);
        QCOMPARE(messages, QStringList{"Opened " + path +
                                       "\nChannels read by their number: SCL as P0, SDA as P1."
                                       "\nThe file's rate, 200 kHz, is read at 1 MS/s."});
        const AppState& s = form->State();
        QCOMPARE(s.RateCode[0], uint8_t{17});
        QCOMPARE(form->RateList->currentText(), QString(" 1 Msps"));
        QCOMPARE(s.BufferSamples, 1048576);
        // The session begins with SCL high and SDA low, then SCL low and SDA high; each of its
        // samples lasts five of ours.
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(s.SampleBuffer[i], 0x1u);
            QCOMPARE(s.SampleBuffer[5 + i], 0x2u);
        }
        // 24,576 samples of the file make 122,880: the rest repeats the last one.
        QVERIFY(std::all_of(s.SampleBuffer + 122880, s.SampleBuffer + s.BufferSamples,
                            [&](uint32_t word) { return word == s.SampleBuffer[122879]; }));
        QCOMPARE(s.XCursor, 0);
        QCOMPARE(s.TriggerSample, 0);
        QCOMPARE(s.ScreenStart, -104858);
        QVERIFY(s.HaveCapture);
    }

    // The chosen filter decides the format, under "All Files" the name does; a save in any format
    // leaves the capture and the view as they are, and the file opens back to the same samples.
    void saveAsWritesTheChosenFormatAndOpensBack_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<CaptureFormat>>("filter");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("dumps filter, table name")
            << "dump.csv" << std::optional(CaptureFormat::Vcd) << QByteArray("$version");
        QTest::newRow("tables filter")
            << "table.csv" << std::optional(CaptureFormat::Csv) << QByteArray("Time [s],P0,");
        QTest::newRow("all files, session name")
            << "session.sr" << std::optional<CaptureFormat>() << QByteArray("PK\3\4");
        QTest::newRow("all files, no known extension")
            << "capture.bin" << std::optional<CaptureFormat>() << QByteArray(1, char(87));
    }
    void saveAsWritesTheChosenFormatAndOpensBack() {
        QFETCH(QString, name);
        QFETCH(std::optional<CaptureFormat>, filter);
        QFETCH(QByteArray, start);
        SetCapture();
        const AppState before = form->State();
        const std::vector<uint32_t> samples = BufferContents(before);
        const QString path = PathOf(name.toUtf8());
        SaveTo(path, filter);
        QCOMPARE(messages, QStringList());
        QCOMPARE(FileStart(path, start.size()), start);
        const AppState& s = form->State();
        QVERIFY(BufferContents(s) == samples);
        QCOMPARE(s.ScreenStart, before.ScreenStart);
        QCOMPARE(s.Scale, before.Scale);
        QCOMPARE(s.XCursor, before.XCursor);

        std::fill_n(form->State().SampleBuffer, s.BufferSamples, 0u);
        OpenFrom(path);
        QCOMPARE(messages, QStringList());
        QCOMPARE(s.RateCode[0], uint8_t{87});
        QCOMPARE(s.BufferSamples, before.BufferSamples);
        QVERIFY(BufferContents(s) == samples);
    }

    // A file that cannot be read says why, and the capture on screen stays as it was.
    void badFilesKeepTheCapture_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a dump whose times go back")
            << QByteArray("$timescale 1 ns $end\n$var wire 1 ! P0 $end\n$enddefinitions $end\n"
                          "#10\n1!\n#5\n0!\n")
            << "Line 6: the time #5 goes back from #10.";
        QTest::newRow("a ragged table") << QByteArray("Time,P0,P1\n0,1,0\n1,1\n")
                                        << "Line 3: the row has 2 fields, the header 3.";
        QTest::newRow("a zip without metadata")
            << QByteArray("PK\5\6", 4) + QByteArray(18, '\0')
            << "The archive holds no version: it is no session.";
        QTest::newRow("an empty file") << QByteArray() << "The file is empty.";
    }
    void badFilesKeepTheCapture() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        SetCapture();
        const std::vector<uint32_t> samples = BufferContents(form->State());
        const QString path = PathOf("bad.file");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();

        OpenFrom(path);
        QCOMPARE(messages, QStringList{"Could Not Read " + path + "\n" + reason});
        QVERIFY(BufferContents(form->State()) == samples);
        QCOMPARE(form->State().XCursor, 1234);
        QCOMPARE(form->State().RateCode[0], uint8_t{87});
        QVERIFY(form->State().HaveCapture);
    }

    // The work runs apart while a modal dialog shows its share done: the bar follows each step
    // and input to the window is blocked.
    void theProgressFollowsTheWorkWhileTheWindowWaits() {
        std::atomic<int> shown{-1};
        bool modal = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            modal = true;
            shown = dialog->value();
        });
        watch.start(5);
        std::vector<int> seen;
        const bool ok = RunFileWork(
            form.get(), "Testing", FileProgress::Measured,
            [&](const interchange::ProgressHook& progress) {
                for (int step = 1; step <= 4; ++step) {
                    progress(step / 5.0);
                    // Waits, bounded, until the bar shows the step.
                    const auto deadline =
                        std::chrono::steady_clock::now() + std::chrono::seconds(10);
                    while (shown < step * 200 && std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    seen.push_back(shown);
                }
                return true;
            });
        watch.stop();
        QVERIFY(ok);
        QVERIFY(modal);
        QCOMPARE(seen, (std::vector<int>{200, 400, 600, 800}));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // A large capture file goes through the progress dialog, whose bar moves as the library
    // gives no share of its own; the pod watch makes no library call while the file is written.
    void aLargeSaveShowsTheProgressDialog() {
        form->AllocateSampleBuffer(8060928);
        SetCapture();
        int maximum = -1;
        const PodcoreApi real = Podcore();
        Podcore().NewEnumeratePods = CountingEnumeratePods;
        enumerations = 0;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                maximum = dialog->maximum();
            form->Timer2_Timer();
        });
        SaveTo(PathOf("large.nrk"), CaptureFormat::Nrk);
        form->Timer2_Timer();
        Podcore() = real;
        QCOMPARE(messages, QStringList());
        QCOMPARE(maximum, 0);
        // Only the tick after the save reached the library.
        QCOMPARE(enumerations.load(), 1);
        QCOMPARE(QFileInfo(PathOf("large.nrk")).size(), qint64{80} + 8060928 * 4);
    }

    void cleanupTestCase() {
        form.reset();
        SetFileDialogRunner({});
        SetMessageAnswerer({});
    }
};

} // namespace norrik

QTEST_MAIN(norrik::ForeignFilesTest)
#include "foreign_files_test.moc"
