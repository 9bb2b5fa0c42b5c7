// The acquisition cycle with virtual pods, end to end through the pod library: the states a user
// sees, the trigger position, stopping, refused clocking modes, a break, and the pod watch.
#include "call_log.h"
#include "clickable_picture.h"
#include "diagnostic_log.h"
#include "form1.h"
#include "linked_pod_window.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace norrik;
using podcore::usb::sim::Signal;

namespace {

struct Poll {
    QString caption;
    QColor colour;
    int progress;
};

const QColor kCyan(0, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

constexpr uint32_t kBit18 = 1u << 18; // carried, never shown, never set by the traffic
constexpr uint32_t kBit20 = 1u << 20;

} // namespace

class PodAcquisitionTest : public QObject {
    Q_OBJECT

    SimDriver* driver = nullptr;
    std::unique_ptr<Form1> form;
    QList<Poll> polls;
    CallLog& log = CallLog::Instance();

    void Start() {
        log.Install();
        form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
        // Connected after the window's own handler: sees what each poll left on screen.
        connect(form->Timer1, &QTimer::timeout, form.get(), [this] {
            polls << Poll{form->Status->text(), form->Status->palette().color(QPalette::Window),
                          form->Progress->value()};
        });
    }

    QAction* MenuAcquire() { return form->findChild<QAction*>("macquire"); }

    bool WaitForIdle(int milliseconds) {
        return QTest::qWaitFor([this] { return form->Command1->text() == "Acquire"; },
                               milliseconds);
    }

    static QStringList Items(QComboBox* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }

private slots:
    void initTestCase() { UsePrivateFolders(); }

    void init() {
        driver = FreshVirtualDriver();
        polls.clear();
    }

    void cleanup() {
        form.reset();
        Podcore().StopCapture();
    }

    void captureShowsWaitingThenStoringThenTheWholeBuffer() {
        auto pod = PlugIn(*driver, 1);
        // Bit 20 of the pod's count rises for the first time one buffer length in, after
        // the ring has wrapped: the trigger lands where the trigger position puts it.
        ChangeSampling(*pod, [](auto& sampling) { sampling.signal = Signal::Counting; });
        Start();
        QVERIFY(!form->State().DemoMode);
        Form1::SelectEntry(form->RateList, form->RateList->findText(" 1 Msps"));
        form->Trig_Click(20); // step 1: High
        form->Trig_Click(20); // step 1: Low
        form->Trig_Click(52); // step 2: High
        form->TriggerPositionScroll->setValue(50);

        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Status->text(), QString("Waiting for Trigger"));
        QCOMPARE(form->Status->palette().color(QPalette::Window), kCyan);
        QCOMPARE(log.calls.first(), QString("StartCapture 17 2 589824 -> 1"));
        QCOMPARE(form->State().TriggerSteps[0], kBit20);
        QCOMPARE(form->State().TriggerSteps[1], 0u);
        QCOMPARE(form->State().TriggerSteps[3], kBit20);
        QTest::qWait(700);
        SaveShot(*form, "pod-waiting-for-trigger");
        QTRY_VERIFY_WITH_TIMEOUT(form->Status->text() == "Triggered - Storing Data", 5000);
        SaveShot(*form, "pod-storing");
        QVERIFY(WaitForIdle(10000));
        SaveShot(*form, "pod-stopped");

        // Waiting blinks cyan and blue at every poll; storing is green with a growing bar.
        QList<QColor> waiting;
        QList<int> storing;
        for (const Poll& poll : std::as_const(polls)) {
            if (poll.caption == "Waiting for Trigger")
                waiting << poll.colour;
            else if (poll.caption == "Triggered - Storing Data" && poll.colour == kGreen)
                storing << poll.progress;
        }
        QVERIFY2(waiting.size() >= 2, qPrintable(QString::number(waiting.size())));
        for (int i = 0; i < waiting.size(); ++i)
            QCOMPARE(waiting[i], i % 2 == 0 ? kBlue : kCyan);
        QVERIFY(!storing.isEmpty());
        QVERIFY(std::is_sorted(storing.begin(), storing.end()));
        QVERIFY(storing.last() < 100);

        const AppState& state = form->State();
        QCOMPARE(form->Status->text(), QString("Stopped"));
        QCOMPARE(form->Status->palette().color(QPalette::Window), kRed);
        QCOMPARE(form->Progress->value(), 100);
        QVERIFY(state.HaveCapture);
        QCOMPARE(state.CapRunning, uint8_t{0});
        QVERIFY(state.CapTriggered != 0);
        QCOMPARE(state.ScreenStart, -104858);
        // Within the trigger's block and the uncounted last block of the share asked for.
        const int32_t share = state.BufferSamples / 2;
        QVERIFY2(state.TriggerSample > share - 2 * 65536 && state.TriggerSample <= share,
                 qPrintable(QString::number(state.TriggerSample)));
        QVERIFY(Podcore().LoggedData(uint32_t(state.TriggerSample - 1)) & kBit20);
        QVERIFY(!(Podcore().LoggedData(uint32_t(state.TriggerSample - 2)) & kBit20));
        QCOMPARE(form->Trigger->text().toInt(), state.TriggerSample);
        QCOMPARE(log.Count("StopCapture returned"), 1);
    }

    void stopDuringACaptureKeepsTheLibraryToItselfUntilItStopped() {
        PlugIn(*driver, 1);
        Start();
        form->Trig_Click(18); // High on a line the traffic never sets: waits for ever
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(!form->SizeList->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(form->Command1->isEnabled(), 3000);
        QCOMPARE(form->Status->text(), QString("Waiting for Trigger"));
        QCOMPARE(form->Command1->text(), QString("Stop"));
        QCOMPARE(log.Count("NewEnumeratePods"), 0); // the watch rests while acquiring

        // A menu start and several pod-watch ticks fall into the stop's wait for its guard.
        QTimer::singleShot(200, form.get(), [this] { MenuAcquire()->trigger(); });
        QTimer::singleShot(700, form.get(), [this] { MenuAcquire()->trigger(); });
        log.Mark("stop pressed");
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Status->text(), QString("Stopped"));
        const int pressed = log.IndexOf("stop pressed");
        const int stopped = log.IndexOf("StopCapture returned", pressed);
        QVERIFY(stopped > pressed);
        QCOMPARE(log.CountBetween("StartCapture", pressed, stopped), 0);
        QCOMPARE(log.CountBetween("NewEnumeratePods", pressed, stopped), 0);
        QCOMPARE(log.Count("StartCapture"), 1);
        QVERIFY(!form->State().Acquiring);
        QCOMPARE(form->State().CapTriggered, uint8_t{0});
        QVERIFY(form->SizeList->isEnabled());
        // Once stopped, the watch looks for pods again.
        QTRY_VERIFY_WITH_TIMEOUT(log.CountBetween("NewEnumeratePods", stopped, 1 << 20) > 0, 2000);
    }

    void externalClockModesAreRefusedWithoutAHang_data() {
        QTest::addColumn<int>("edgeClicks");
        QTest::addColumn<int>("qualifierClicks");
        QTest::addColumn<int>("mode");
        for (int qualifier = 0; qualifier < 3; ++qualifier)
            for (int edge = 0; edge < 2; ++edge)
                QTest::addRow("mode %d", 4 + edge + 2 * qualifier)
                    << edge << qualifier << 4 + edge + 2 * qualifier;
    }
    void externalClockModesAreRefusedWithoutAHang() {
        QFETCH(int, edgeClicks);
        QFETCH(int, qualifierClicks);
        QFETCH(int, mode);
        auto pod = PlugIn(*driver, 1);
        Start();
        form->ExternalCLK->click();
        for (int i = 0; i < edgeClicks; ++i)
            QTest::mouseClick(form->CLKEdge, Qt::LeftButton);
        for (int i = 0; i < qualifierClicks; ++i)
            QTest::mouseClick(form->TRIGValid, Qt::LeftButton);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(log.calls.first(), QString("StartCapture 27 %1 983040 -> 0").arg(mode));
        QVERIFY(WaitForIdle(4000));
        // Ended at the first poll, held only by the button's guard; a status read on the pod
        // without its firmware would have kept the window frozen for many seconds.
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(form->Status->text(), QString("Stopped"));
        QCOMPARE(log.Count("StopCapture returned"), 1);
        std::lock_guard lock(pod->mutex);
        QVERIFY(!pod->SamplingDivisor().has_value());
    }

    void aBreakInTheDataIsReported() {
        auto pod = PlugIn(*driver, 1);
        // A link far too slow for the rate: the pod's buffers overflow and it reports a break.
        ChangeSampling(*pod, [](auto& sampling) { sampling.busBytesPerSecond = 1e5; });
        MessageRecorder messages;
        Start();
        form->Trig_Click(18);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(WaitForIdle(8000));
        QVERIFY(form->State().CapBreaks != 0);
        QCOMPARE(int(messages.requests.size()), 1);
        QCOMPARE(messages.requests[0].title, QString("PC to Pod Connection Failure"));
        QCOMPARE(messages.requests[0].text, QString("There was a break in the sampled data. "));
        QCOMPARE(messages.requests[0].icon, QMessageBox::Critical);
        QVERIFY(form->State().HaveCapture);
    }

    void podArrivalAndRemovalWhileIdle() {
        Start(); // no pod: demo mode
        AppState& state = form->State();
        QVERIFY(state.DemoMode);
        // The first look after a start without a pod takes the removal path once.
        QTRY_COMPARE_WITH_TIMEOUT(form->Output->Lines().count("InitFailed"), 2, 2000);
        Form1::SelectEntry(form->RateList, form->RateList->findText(" 1 Msps"));
        form->Trig_Click(3);
        state.XCursor = 5000;
        state.OCursor = 6000;
        SaveShot(*form, "watch-no-pod");

        auto pod = PlugIn(*driver, 7);
        QTRY_COMPARE_WITH_TIMEOUT(form->DemoOn->text(), QString("Norrik OK"), 2000);
        SaveShot(*form, "watch-pod-arrived");
        QVERIFY(!state.DemoMode);
        QCOMPARE(Items(form->PodList), QStringList{" 7"});
        QCOMPARE(form->Light->palette().color(QPalette::Window), kGreen);
        QCOMPARE(state.TriggerLevels[3], uint8_t{0});
        QCOMPARE(state.RateCode[0], uint8_t{27});
        QCOMPARE(Items(form->RateList), QStringList({" 2 Msps", " 1 Msps"}));
        QCOMPARE(state.XCursor, 0);
        QCOMPARE(state.OCursor, 0);
        QVERIFY(state.SampleBuffer != nullptr);
        QCOMPARE(Podcore().LoggedData(0), 0xFF); // a fresh buffer

        uint32_t* buffer = state.SampleBuffer;
        state.HaveCapture = true;
        driver->Remove(pod);
        QTRY_COMPARE_WITH_TIMEOUT(form->DemoOn->text(), QString("No Norrik"), 2000);
        SaveShot(*form, "watch-pod-removed");
        QVERIFY(state.DemoMode);
        QVERIFY(!state.HaveCapture);
        QCOMPARE(form->Light->palette().color(QPalette::Window), kRed);
        QCOMPARE(form->Output->Lines().last(), QString("InitFailed"));
        QCOMPARE(state.SampleBuffer, buffer); // the buffer and its contents stay
    }

    void fullSpeedMessagesDoNotPileUp() {
        int open = 0;
        int mostOpen = 0;
        QStringList texts;
        // Each message stays open for a while, as a user would leave it, while ticks arrive.
        SetMessageAnswerer([&](const MessageRequest& request) {
            texts << request.text;
            mostOpen = std::max(mostOpen, ++open);
            QTest::qWait(1200);
            --open;
            return QMessageBox::Ok;
        });
        Start();
        PlugIn(*driver, 3, true);
        QTRY_VERIFY_WITH_TIMEOUT(texts.size() >= 2, 6000);
        SetMessageAnswerer({});
        QCOMPARE(mostOpen, 1);
        QCOMPARE(texts[0], QString("Tarnwick Logic Analyzer detected on a USB Full-Speed port.  "
                                   "The Norrik will only work on a USB 2.0 High Speed port."));
        QVERIFY(form->State().DemoMode);
        QVERIFY(!form->State().PodAttached);
        QCOMPARE(form->DemoOn->text(), QString("No Norrik"));
    }
};

QTEST_MAIN(PodAcquisitionTest)
#include "pod_acquisition_test.moc"
