#include "clickable_picture.h"
#include "diagnostic_log.h"
#include "form1.h"
#include "podcore_api.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

using namespace norrik;

namespace {

// Fakes for the pod exports, so startup can be shown with pods and with a small memory advice.
std::vector<uint32_t> fakePods;
uint32_t readyPod = 0;
uint32_t fakeAdvice = 0;
std::vector<uint32_t> initializedIds;

int32_t FakeEnumeratePods(uint32_t* ids) {
    for (size_t i = 0; i < fakePods.size(); ++i)
        ids[i] = fakePods[i];
    return static_cast<int32_t>(fakePods.size());
}

int32_t FakeInitializeKTLAPod(uint32_t id) {
    initializedIds.push_back(id);
    return id != 0 && id == readyPod ? 1 : 0;
}

uint32_t FakeGetMaxBufferSize() {
    return fakeAdvice;
}

// Whether the wait cursor showed during each library call that holds the window.
std::vector<bool> waitCursorDuringCall;
decltype(PodcoreApi::MakeBuffer) realMakeBuffer = nullptr;

void RecordCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    waitCursorDuringCall.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
}

uint32_t* RecordingMakeBuffer(uint32_t samples) {
    RecordCursor();
    return realMakeBuffer(samples);
}

int32_t RecordingDemoData() {
    RecordCursor();
    return 1;
}

int32_t RecordingStartCapture(uint32_t, uint32_t, const uint32_t*, int32_t, const uint32_t*,
                              uint32_t, uint32_t) {
    RecordCursor();
    return 0;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;
    PodcoreApi real;

    static void SetStored(const QString& key, const QString& text) {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "plinketktla", "plinketktla");
        if (text.isNull())
            store.remove("Startup/" + key);
        else
            store.setValue("Startup/" + key, text);
    }
    static QString Stored(const QString& key) {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, "plinketktla", "plinketktla");
        return store.value("Startup/" + key).toString();
    }
    static int VisiblePicture(Form1& form) {
        int shown = -1;
        for (int i = 0; i < 7; ++i) {
            if (!form.TW2Image[size_t(i)]->isHidden()) {
                if (shown != -1)
                    return -2; // more than one
                shown = i;
            }
        }
        return shown;
    }
    static QStringList Items(QComboBox* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
    std::unique_ptr<Form1> Start() {
        auto form = std::make_unique<Form1>();
        form->Form_Load();
        return form;
    }

private slots:
    void initTestCase() {
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        std::string error;
        QVERIFY2(LoadPodcore({PODCORE_LIBRARY}, Podcore(), error), error.c_str());
        real = Podcore();
    }

    void init() {
        Podcore() = real;
        fakePods.clear();
        readyPod = 0;
        initializedIds.clear();
        for (const char* key : {"NumberOfSamples", "Tarnwick", "Rate"})
            SetStored(key, QString());
    }

    void cleanup() {
        if (uint32_t* buffer = Podcore().MakeBuffer(65536))
            Podcore().DeleteBuffer(buffer);
        Podcore() = real;
    }

    void noPodStartsInDemoMode() {
        Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        auto form = Start();
        AppState& state = form->State();
        QCOMPARE(Items(form->PodList), QStringList{"Demo"});
        QCOMPARE(initializedIds, std::vector<uint32_t>{0});
        QVERIFY(state.DemoMode);
        QVERIFY(state.PodAttached);
        QVERIFY(!state.HaveCapture);
        QCOMPARE(form->DemoOn->text(), QString("No Norrik"));
        QCOMPARE(form->DemoOn->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(form->Light->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(form->Output->Lines(),
                 QStringList({"InitFailed", "BufferAllocated", "BufferAllocated"}));

        // Absent settings: a buffer of 1048576 samples, written back by the size list.
        QCOMPARE(state.BufferSamples, 1048576);
        QVERIFY(state.SampleBuffer != nullptr);
        QCOMPARE(Podcore().LoggedData(1048575), 255);
        QCOMPARE(Stored("NumberOfSamples"), QString(" 1048576"));
        QCOMPARE(Stored("Rate"), QString(" 27"));
        QCOMPARE(form->SizeList->currentText(), QString(" 1 Million Samples"));

        // Demo mode offers all nine rates with 2 Msps selected.
        QCOMPARE(form->RateList->count(), 9);
        QCOMPARE(form->RateList->currentText(), QString(" 2 Msps"));
        QCOMPARE(state.SignalColors[19], 0xFF8000);
        QCOMPARE(state.TriggerStepCount, 2);
        QCOMPARE(state.TriggerSteps[0], 0u);
    }

    void twoPodsListedAndTheFirstInitialized() {
        fakePods = {5, 9};
        readyPod = 5;
        Podcore().EnumeratePods = FakeEnumeratePods;
        Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        auto form = Start();
        QCOMPARE(Items(form->PodList), QStringList({" 5", " 9"}));
        QCOMPARE(initializedIds, std::vector<uint32_t>{5});
        QVERIFY(!form->State().DemoMode);
        QCOMPARE(form->DemoOn->text(), QString("Norrik OK"));
        QCOMPARE(form->Light->palette().color(QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(Items(form->RateList), QStringList({" 2 Msps", " 1 Msps"}));
        QCOMPARE(form->Output->Lines().first(), QString("InitOK"));
    }

    void storedSettingsAreReadLeniently_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("firstAllocationFails");
        QTest::addColumn<int>("sizeEntry");
        QTest::addColumn<int>("bufferSamples");
        QTest::newRow("absent") << QString() << false << 0 << 1048576;
        QTest::newRow("two million") << " 2031616" << false << 1 << 2031616;
        QTest::newRow("rounded half to even") << "1048576.5" << false << 0 << 1048576;
        // Unparsable counts as 0: a buffer of no samples, which the size list leaves alone.
        QTest::newRow("unparsable") << "lots" << false << -1 << 0;
        // Refused by the library, then re-allocated by the size list for entry 0.
        QTest::newRow("not a block multiple") << "1000000" << true << 0 << 1048576;
        QTest::newRow("negative") << "-65536" << true << -1 << -65536;
    }
    void storedSettingsAreReadLeniently() {
        QFETCH(QString, stored);
        QFETCH(bool, firstAllocationFails);
        QFETCH(int, sizeEntry);
        QFETCH(int, bufferSamples);
        SetStored("NumberOfSamples", stored);
        auto form = Start();
        const QStringList& log = form->Output->Lines();
        QCOMPARE(log.contains("Failed to Allocate Memory"), firstAllocationFails);
        QCOMPARE(log.last(), QString("BufferAllocated"));
        QCOMPARE(form->SizeList->currentIndex(), sizeEntry);
        QCOMPARE(form->State().BufferSamples, bufferSamples);
        QCOMPARE(form->State().DemoMode, true);
    }

    void oversizedSettingIsCappedByTheAdvice() {
        // An advice that is not a multiple of 65536: the first allocation fails, demo mode is
        // forced, and the size list then allocates a valid size for entry 1.
        fakeAdvice = 2'000'000;
        fakePods = {1};
        readyPod = 1;
        Podcore().EnumeratePods = FakeEnumeratePods;
        Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        Podcore().GetMaxBufferSize = FakeGetMaxBufferSize;
        SetStored("NumberOfSamples", " 8060928");
        auto form = Start();
        QCOMPARE(form->State().MaxBufferSamples, 2'000'000);
        QCOMPARE(form->Output->Lines(),
                 QStringList({"InitOK", "Failed to Allocate Memory", "BufferAllocated",
                              "BufferAllocated"}));
        QVERIFY(form->State().DemoMode);
        QCOMPARE(form->SizeList->count(), 2);
        QCOMPARE(form->State().BufferSamples, 2031616);
        QVERIFY(form->State().SampleBuffer != nullptr);
        QCOMPARE(Stored("NumberOfSamples"), QString(" 2031616"));
    }

    void rateIsNeverRestored() {
        SetStored("Rate", " 17");
        auto form = Start();
        QCOMPARE(form->State().RateCode[0], uint8_t{27});
        QCOMPARE(form->State().RateCode[1], uint8_t{27});
    }

    void modulePictureFromTheStore_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("picture");
        QTest::newRow("absent") << QString() << 0;
        QTest::newRow("3") << " 3" << 3;
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("7") << "7" << 0;
        QTest::newRow("x") << "x" << 0;
        QTest::newRow("-1") << "-1" << 0;
        QTest::newRow("2.5 rounds to even") << "2.5" << 2;
    }
    void modulePictureFromTheStore() {
        QFETCH(QString, stored);
        QFETCH(int, picture);
        SetStored("Tarnwick", stored);
        auto form = Start();
        QCOMPARE(VisiblePicture(*form), picture);
    }

    void modulePictureCyclesAndIsRemembered() {
        SetStored("Tarnwick", " 6");
        auto form = Start();
        form->TW2Image_Click(6);
        QCOMPARE(VisiblePicture(*form), 0);
        QCOMPARE(Stored("Tarnwick"), QString(" 0"));
        for (int i = 0; i < 7; ++i)
            form->TW2Image_Click(VisiblePicture(*form));
        QCOMPARE(VisiblePicture(*form), 0);
        QCOMPARE(Stored("Tarnwick"), QString(" 0"));
    }

    void rateChoiceIsStored() {
        auto form = Start();
        Form1::SelectEntry(form->RateList, form->RateList->findText(" 1 Msps"));
        QCOMPARE(form->State().RateCode[0], uint8_t{17});
        QCOMPARE(Stored("Rate"), QString(" 17"));
    }

    // Typed text, Enter and leaving the field: none of it may add an entry, allocate, store a
    // size, drop the capture or initialize a pod.
    void typingIntoTheListsChangesNothing_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::newRow("size, a number") << "SizeList" << "7";
        QTest::newRow("size, another entry's label") << "SizeList" << " 2 Million Samples";
        QTest::newRow("pod, an identifier") << "PodList" << "9";
        QTest::newRow("pod, another pod's entry") << "PodList" << " 6";
    }
    void typingIntoTheListsChangesNothing() {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        fakePods = {5, 6, 9};
        readyPod = 5;
        Podcore().EnumeratePods = FakeEnumeratePods;
        Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        auto form = Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QComboBox* box = list == "SizeList" ? form->SizeList : form->PodList;
        AppState& state = form->State();
        state.HaveCapture = true;
        const QStringList items = Items(box);
        const int index = box->currentIndex();
        const int32_t samples = state.BufferSamples;
        const uint32_t* buffer = state.SampleBuffer;
        const QString storedSize = Stored("NumberOfSamples");
        const std::vector<uint32_t> initialized = initializedIds;

        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        form->ScaleP->setFocus(); // leaving the field ends its editing

        QCOMPARE(Items(box), items);
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(box->currentText(), items[index]);
        QCOMPARE(state.BufferSamples, samples);
        QCOMPARE(state.SampleBuffer, buffer);
        QVERIFY(state.HaveCapture);
        QCOMPARE(Stored("NumberOfSamples"), storedSize);
        QCOMPARE(initializedIds, initialized);
    }

    void choosingASizeByKeyboardStillActs() {
        auto form = Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->State().HaveCapture = true;
        form->SizeList->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(form->SizeList->currentIndex(), 1);
        QCOMPARE(form->State().BufferSamples, 2031616);
        QVERIFY(!form->State().HaveCapture);
        QCOMPARE(Stored("NumberOfSamples"), QString(" 2031616"));
    }

    // The rate list is out of sight but keeps its place in the tab order: the keyboard can
    // change it, and the label beside the size list must follow.
    void rateLabelFollowsTheRateList() {
        auto form = Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCOMPARE(form->Label2->text(), QString("at 2Msps"));
        form->RateList->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(form->RateList->currentText(), QString(" 1 Msps"));
        QCOMPARE(form->Label2->text(), QString("at 1Msps"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QCOMPARE(form->Label2->text(), QString("at 24Msps"));
    }

    // Making a buffer (seconds for gigabytes) and starting a capture (up to 4 s on a pod; demo
    // samples about as long in a large buffer) hold the window: the wait cursor shows for as
    // long as the call runs, and only then.
    void longLibraryCallsShowTheWaitCursor_data() {
        QTest::addColumn<bool>("pod");
        QTest::newRow("pod") << true;
        QTest::newRow("demo") << false;
    }
    void longLibraryCallsShowTheWaitCursor() {
        QFETCH(bool, pod);
        if (pod) {
            fakePods = {5};
            readyPod = 5;
            Podcore().EnumeratePods = FakeEnumeratePods;
            Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        }
        realMakeBuffer = real.MakeBuffer;
        Podcore().MakeBuffer = RecordingMakeBuffer;
        Podcore().StartCapture = RecordingStartCapture;
        Podcore().DemoData = RecordingDemoData;
        waitCursorDuringCall.clear();
        auto form = Start();
        QCOMPARE(form->State().DemoMode, !pod);
        Form1::SelectEntry(form->SizeList, 1);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        // Startup's buffer, the refresh's re-allocation, the chosen size, the capture start.
        QCOMPARE(waitCursorDuringCall, (std::vector<bool>{true, true, true, true}));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void choosingDemoClosesThePodAndFallsBack() {
        fakePods = {5};
        readyPod = 5;
        Podcore().EnumeratePods = FakeEnumeratePods;
        Podcore().InitializeKTLAPod = FakeInitializeKTLAPod;
        auto form = Start();
        QVERIFY(!form->State().DemoMode);
        form->PodList->addItem("Demo");
        Form1::SelectEntry(form->PodList, 1);
        QCOMPARE(initializedIds, (std::vector<uint32_t>{5, 0}));
        QVERIFY(form->State().DemoMode);
        QCOMPARE(form->Output->Lines().last(), QString("InitFailed"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
