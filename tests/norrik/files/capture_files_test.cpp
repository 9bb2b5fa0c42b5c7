// Save As and Open through the window, with the built library and answered dialogs.
#include "clickable_picture.h"
#include "file_dialog.h"
#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "trigger_pictures.h"
#include "window_under_test.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <vector>

namespace norrik {
namespace {

constexpr int32_t kOneMillionEntry = 1048576;
constexpr qint64 kRateOffset = 0;
constexpr qint64 kClockByteOffset = 47;      // byte field 44
constexpr qint64 kTriggerPercentOffset = 48; // word field 1

std::vector<uint32_t> BufferContents(const AppState& state) {
    return {state.SampleBuffer, state.SampleBuffer + state.BufferSamples};
}

void Patch(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(bytes), bytes.size());
}

void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray Word(uint32_t value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

class CaptureFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<Form1> form;
    std::optional<QString> dialogAnswer;
    std::optional<interchange::CaptureFormat> dialogFormat = interchange::CaptureFormat::Nrk;
    QList<FileDialogKind> dialogsShown;
    QStringList messages;

    QString PathOf(const char* name) const { return folder.filePath(name); }

    // A capture with every saved field set to a value of its own.
    void SetDistinctCapture() {
        AppState& s = form->State();
        for (int32_t i = 0; i < s.BufferSamples; ++i)
            s.SampleBuffer[i] = uint32_t(i) * 2654435761u;
        s.RateCode[0] = 87;
        for (size_t i = 0; i < 53; ++i)
            s.TriggerLevels[i] = uint8_t(i % 5);
        s.TriggerSample = 524288;
        s.CenterSample = 300000;
        s.XCursor = 1234;
        s.OCursor = -56;
        form->ScaleP->setText("700");
        form->SubScale->setText("0");
        form->ReadZoomSetting();
        form->TriggerPositionScroll->setValue(50);
        form->ExternalCLK->setChecked(true);
    }

    // Everything the file holds changed, so that an open has to bring it all back.
    void ScrambleCapture() {
        AppState& s = form->State();
        std::fill_n(s.SampleBuffer, s.BufferSamples, 0u);
        s.RateCode[0] = 27;
        s.TriggerLevels.fill(0);
        s.TriggerSample = s.CenterSample = s.XCursor = s.OCursor = 0;
        form->ScaleP->setText("3");
        form->ReadZoomSetting();
        form->TriggerPositionScroll->setValue(10);
        form->InternalCLK->setChecked(true);
        s.HaveCapture = false;
    }

    void SaveTo(const QString& path) {
        dialogAnswer = path;
        form->SaveCapture();
    }

    void OpenFrom(const QString& path) {
        dialogAnswer = path;
        form->OpenCapture();
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
        SetFileDialogRunner([this](FileDialogKind kind, const QString&) {
            dialogsShown << kind;
            return dialogAnswer ? std::optional<ChosenFile>({*dialogAnswer, dialogFormat})
                                : std::nullopt;
        });
        SetMessageAnswerer([this](const MessageRequest& request) {
            messages << request.text;
            return QMessageBox::Ok;
        });
    }

    void init() {
        form = StartedWindow();
        QVERIFY(form->State().SampleBuffer != nullptr);
        QCOMPARE(form->State().BufferSamples, kOneMillionEntry);
        messages.clear();
        dialogsShown.clear();
    }

    void roundTripRestoresEveryFieldAndSample() {
        SetDistinctCapture();
        const AppState saved = form->State();
        const std::vector<uint32_t> samples = BufferContents(saved);
        const QString path = PathOf("round.nrk");
        SaveTo(path);
        QCOMPARE(messages, QStringList());
        QCOMPARE(QFileInfo(path).size(), qint64{4194384});

        ScrambleCapture();
        OpenFrom(path);
        QCOMPARE(messages, QStringList());
        const AppState& s = form->State();
        QCOMPARE(form->SizeList->currentIndex(), 0);
        QCOMPARE(s.BufferSamples, kOneMillionEntry);
        QVERIFY(BufferContents(s) == samples);
        QCOMPARE(s.RateCode[0], uint8_t{87});
        QCOMPARE(form->RateList->currentText(), QString(" 8 Msps"));
        QCOMPARE(form->Label2->text(), QString("at 8Msps"));
        // Both steps' buttons are stored, apart from bit 18, which has no row.
        for (size_t i = 0; i < 53; ++i) {
            const bool stored = (i <= 20 || (i >= 32 && i <= 52)) && i != 18 && i != 50;
            QCOMPARE(s.TriggerLevels[i], stored ? saved.TriggerLevels[i] : uint8_t{0});
        }
        QVERIFY(form->Trig[33]->pixmap().toImage() ==
                TriggerLevelPicture(saved.TriggerLevels[33]).toImage());
        QCOMPARE(s.TriggerSample, saved.TriggerSample);
        QCOMPARE(s.XCursor, saved.XCursor);
        QCOMPARE(s.OCursor, saved.OCursor);
        QCOMPARE(s.Scale, 700);
        QCOMPARE(form->ScaleP->text(), QString(" 700"));
        QCOMPARE(s.CenterSample, saved.CenterSample);
        QCOMPARE(s.ScreenStart, saved.CenterSample - 700 * form->RowWidth() / 2);
        QCOMPARE(form->TriggerPositionScroll->value(), 50);
        QVERIFY(form->ExternalCLK->isChecked());
        QVERIFY(s.HaveCapture);
    }

    void headerFieldsDecideTheControls_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("triggerPercent");
        QTest::addColumn<int>("rateEntry");
        QTest::addColumn<bool>("internalClock");
        // Saved with trigger position 50, rate 8 Msps (entry 3) and the internal clock.
        QTest::newRow("as saved") << qint64{0} << QByteArray(1, char(87)) << 50 << 3 << true;
        QTest::newRow("position 95 reopens at 10")
            << kTriggerPercentOffset << Word(95) << 10 << 3 << true;
        QTest::newRow("position 9 reopens at 10")
            << kTriggerPercentOffset << Word(9) << 10 << 3 << true;
        QTest::newRow("position 90 kept") << kTriggerPercentOffset << Word(90) << 90 << 3 << true;
        QTest::newRow("rate 100 selects no rate")
            << kRateOffset << QByteArray(1, char(100)) << 50 << -1 << true;
        QTest::newRow("rate 247 selects 24 Msps")
            << kRateOffset << QByteArray(1, char(247)) << 50 << 0 << true;
        QTest::newRow("clock byte 0 selects the external clock")
            << kClockByteOffset << QByteArray(1, '\0') << 50 << 3 << false;
        QTest::newRow("clock byte 2 selects the external clock")
            << kClockByteOffset << QByteArray(1, '\2') << 50 << 3 << false;
    }
    void headerFieldsDecideTheControls() {
        QFETCH(qint64, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(int, triggerPercent);
        QFETCH(int, rateEntry);
        QFETCH(bool, internalClock);
        SetDistinctCapture();
        form->InternalCLK->setChecked(true);
        const QString path = PathOf("header.nrk");
        SaveTo(path);
        Patch(path, offset, bytes);

        ScrambleCapture();
        (internalClock ? form->ExternalCLK : form->InternalCLK)->setChecked(true);
        OpenFrom(path);
        QCOMPARE(messages, QStringList());
        QCOMPARE(form->TriggerPositionScroll->value(), triggerPercent);
        QCOMPARE(form->RateList->count(), 9);
        QCOMPARE(form->RateList->currentIndex(), rateEntry);
        QCOMPARE(form->InternalCLK->isChecked(), internalClock);
        QCOMPARE(form->ExternalCLK->isChecked(), !internalClock);
    }

    // A file that is no capture says so, and why, and leaves the capture on screen as it was.
    void badFilesSayCouldNotRead_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "The file is empty.";
        QTest::newRow("shorter than a count") << QByteArray(3, '\1') << "3 bytes long, too short";
        QTest::newRow("settings block cut short")
            << QByteArray(79, '\1') << "79 bytes long, too short";
        QByteArray noSamples(80, '\0');
        noSamples.replace(1, 4, Word(1048576));
        QTest::newRow("settings block alone") << noSamples << "80 bytes long, too short";
        QByteArray countZero(80 + 64, '\0');
        QTest::newRow("count 0") << countZero << "count no samples";
    }
    void badFilesSayCouldNotRead() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        const QString path = PathOf("bad.nrk");
        WriteFile(path, contents);
        SetDistinctCapture();
        form->State().HaveCapture = true;
        const std::vector<uint32_t> samples = BufferContents(form->State());

        OpenFrom(path);
        QCOMPARE(messages.size(), 1);
        const QStringList lines = messages[0].split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], "Could Not Read " + path);
        QVERIFY2(lines[1].contains(reason), qPrintable(lines[1]));
        const AppState& s = form->State();
        QVERIFY(BufferContents(s) == samples);
        QCOMPARE(s.XCursor, 1234);
        QVERIFY(s.HaveCapture);
    }

    // A count beyond what the file holds: the samples there are read, the user is told how many
    // of how many, the rest of the buffer repeats the last one, and the garbage settings still
    // give a view that draws.
    void aFileCutShortIsToldAndItsLastSampleFillsTheBuffer() {
        QByteArray allOnes(80 + 16 * 4, '\xff');
        allOnes.replace(80, 4, Word(0x12345678));
        allOnes.replace(80 + 15 * 4, 4, Word(0x00ABCDEF));
        const QString path = PathOf("ones.nrk");
        WriteFile(path, allOnes);
        SetDistinctCapture();

        OpenFrom(path);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("holds 16 of the 4294967295 samples it counts"),
                 qPrintable(messages[0]));
        const AppState& s = form->State();
        QCOMPARE(s.BufferSamples, kOneMillionEntry);
        QCOMPARE(s.SampleBuffer[0], 0x12345678u);
        QCOMPARE(s.SampleBuffer[15], 0x00ABCDEFu);
        QVERIFY(std::all_of(s.SampleBuffer + 16, s.SampleBuffer + s.BufferSamples,
                            [](uint32_t word) { return word == 0x00ABCDEFu; }));
        QCOMPARE(form->TriggerPositionScroll->value(), 10);
        QCOMPARE(form->RateList->currentIndex(), -1);
        QVERIFY(s.Scale > 0 || s.SubScale > 0);
        form->RedrawWaveforms();
    }

    // A whole file smaller than the buffer the size list gives it: nothing of the capture
    // before stays behind it, and nothing is said, since nothing was lost.
    void aSmallerFileLeavesNoEarlierCaptureBehind() {
        const int32_t samples = 1'000'000;
        QByteArray capture(80 + samples * 4, '\0');
        capture[0] = char(27);
        capture.replace(1, 4, Word(samples));
        capture.replace(80 + (samples - 1) * 4, 4, Word(0x5A5A5));
        const QString path = PathOf("million.nrk");
        WriteFile(path, capture);
        SetDistinctCapture();

        OpenFrom(path);
        QCOMPARE(messages, QStringList());
        const AppState& s = form->State();
        QCOMPARE(s.BufferSamples, kOneMillionEntry);
        QVERIFY(std::all_of(s.SampleBuffer + samples - 1, s.SampleBuffer + s.BufferSamples,
                            [](uint32_t word) { return word == 0x5A5A5u; }));
    }

    // More samples than the memory advice allows: as many as it allows are read, and said.
    void aFileBeyondTheAdviceIsCutAndTold() {
        form->AllocateSampleBuffer(2031616);
        SetDistinctCapture();
        const std::vector<uint32_t> contents = BufferContents(form->State());
        const QString path = PathOf("large.nrk");
        SaveTo(path);

        form = StartedWindow();
        form->State().MaxBufferSamples = kOneMillionEntry;
        OpenFrom(path);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("first 1048576 of the file's 2031616 samples"),
                 qPrintable(messages[0]));
        const AppState& s = form->State();
        QCOMPARE(s.BufferSamples, kOneMillionEntry);
        QVERIFY(std::equal(s.SampleBuffer, s.SampleBuffer + s.BufferSamples, contents.begin()));
    }

    void cancellingChangesNothingAndSaysNothing() {
        SetDistinctCapture();
        const std::vector<uint32_t> samples = BufferContents(form->State());
        dialogAnswer.reset();
        form->OpenCapture();
        form->SaveCapture();
        QCOMPARE(dialogsShown, (QList<FileDialogKind>{FileDialogKind::Open, FileDialogKind::Save}));
        QCOMPARE(messages, QStringList());
        QVERIFY(BufferContents(form->State()) == samples);
        QCOMPARE(form->State().XCursor, 1234);
    }

    void failedSaveIsReportedAndKeepsTheOldFile() {
        const QString path = PathOf("kept.nrk");
        SetDistinctCapture();
        SaveTo(path);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray before = saved.readAll();
        saved.close();

        SaveTo(PathOf("missing-folder/capture.nrk"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("Could Not Save " + PathOf("missing-folder/capture.nrk")));
        QVERIFY(!QFile::exists(PathOf("missing-folder/capture.nrk")));

        // A write that fails part-way (the file-size limit stops it at 1 MiB) keeps the old
        // file whole.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{1 << 20, limit.rlim_max};
        const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        SaveTo(path);
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, previousHandler);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].startsWith("Could Not Save " + path));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == before);
    }

    void noFileCommandWhileAcquiring() {
        SetDistinctCapture();
        form->State().Acquiring = true;
        const uint32_t* buffer = form->State().SampleBuffer;
        dialogAnswer = PathOf("during.nrk");
        form->SaveCapture();
        form->OpenCapture();
        form->State().Acquiring = false;
        QVERIFY(dialogsShown.isEmpty());
        QCOMPARE(messages.size(), 2);
        QVERIFY(!QFile::exists(PathOf("during.nrk")));
        QCOMPARE(form->State().SampleBuffer, buffer);
    }

    // A capture of a size between two list entries opens whole: the buffer takes whole blocks.
    void aCountBetweenListSizesOpensWhole() {
        // 37 blocks: the nearest entry, 1, holds only 2,031,616 samples.
        const int32_t samples = 2424832;
        form->AllocateSampleBuffer(samples);
        SetDistinctCapture();
        const std::vector<uint32_t> contents = BufferContents(form->State());
        const QString path = PathOf("between.nrk");
        SaveTo(path);

        form = StartedWindow();
        OpenFrom(path);
        QCOMPARE(messages, QStringList());
        QCOMPARE(form->SizeList->currentIndex(), 1);
        QCOMPARE(form->State().BufferSamples, samples);
        QVERIFY(BufferContents(form->State()) == contents);
    }

    void cleanupTestCase() {
        form.reset();
        SetFileDialogRunner({});
        SetMessageAnswerer({});
    }
};

} // namespace norrik

QTEST_MAIN(norrik::CaptureFilesTest)
#include "capture_files_test.moc"
