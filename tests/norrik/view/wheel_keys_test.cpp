// The wheel over the rows and the overview, and the keys while the waveform has the focus, all
// through real wheel and key events sent to the window.
#include "file_dialog.h"
#include "message_box.h"
#include "view/view_geometry.h"
#include "view_test_support.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <climits>

namespace norrik {

class WheelKeysTest : public QObject, DemoCaptureWindow {
    Q_OBJECT

private:
    // One wheel event over a surface at (x, 8): angles in eighths of a degree.
    static void Turn(QWidget* surface, double x, QPoint angleDelta,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF position(x, 8);
        QWheelEvent event(position, surface->mapToGlobal(position), QPoint(), angleDelta,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface, &event);
    }

    static void Notches(QWidget* surface, double x, int notches) {
        Turn(surface, x, QPoint(0, notches * 120));
    }

    bool WaveformHasFocus() const {
        for (const PictureSurface* wave : window->Wave)
            if (wave->hasFocus())
                return true;
        return false;
    }

    // Shown and active, so that key presses reach the widget with the focus.
    void ShowActive() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // A key pressed as a user does: to whatever has the focus.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
    }

    // How far one press of the "<" button moves the view from here.
    int32_t ScrollButtonStep() {
        const int32_t before = State().ScreenStart;
        QTest::mousePress(window->ScrollLeft, Qt::LeftButton);
        QTest::mouseRelease(window->ScrollLeft, Qt::LeftButton);
        const int32_t step = before - State().ScreenStart;
        State().ScreenStart = before;
        window->RedrawWaveforms();
        return step;
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() { StartWithDemoCapture(); }

    void cleanup() { window.reset(); }

    void eachNotchZoomsOneStepKeepingThePointersSample_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("subScale");
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("scaleAfter");
        QTest::addColumn<int>("subScaleAfter");
        QTest::newRow("in from Scale 4") << 1000 << " 4"
                                         << " 0" << 100.0 << 1 << 2 << 0;
        QTest::newRow("out from Scale 4") << 1000 << " 4"
                                          << " 0" << 100.0 << -1 << 8 << 0;
        QTest::newRow("in through one per column") << 5000 << " 2"
                                                   << " 0" << 17.0 << 3 << 0 << 4;
        QTest::newRow("out from SubScale 8") << 5000 << " 0"
                                             << " 8" << 600.0 << -2 << 0 << 2;
        QTest::newRow("in at the right edge") << 90000 << " 121"
                                              << " 0" << 648.0 << 2 << 30 << 0;
        QTest::newRow("out at the left edge") << 90000 << " 15"
                                              << " 0" << 0.0 << -2 << 60 << 0;
    }

    void eachNotchZoomsOneStepKeepingThePointersSample() {
        QFETCH(int, start);
        QFETCH(QString, scale);
        QFETCH(QString, subScale);
        QFETCH(double, x);
        QFETCH(int, notches);
        ShowFrom(start, qPrintable(scale), qPrintable(subScale));
        const int32_t underPointer = SampleAtColumn(State(), x);

        Notches(window->Wave[5], x, notches);
        QTEST(State().Scale, "scaleAfter");
        QTEST(State().SubScale, "subScaleAfter");
        QCOMPARE(SampleAtColumn(State(), x), underPointer);
    }

    void partNotchesAddUpAndAReversalStartsAfresh() {
        ShowFrom(1000, " 64", " 0");
        for (int part = 0; part < 7; ++part)
            Turn(window->Wave[2], 300, QPoint(0, 15));
        QCOMPARE(State().Scale, 64); // 105 of 120
        Turn(window->Wave[2], 300, QPoint(0, 15));
        QCOMPARE(State().Scale, 32);

        Turn(window->Wave[2], 300, QPoint(0, 100));
        Turn(window->Wave[2], 300, QPoint(0, -60)); // the 100 are dropped, 60 towards the user
        QCOMPARE(State().Scale, 32);
        Turn(window->Wave[2], 300, QPoint(0, -60));
        QCOMPARE(State().Scale, 64);
    }

    void theWheelStopsAtTheZoomLimits() {
        ShowFrom(1000, " 2", " 0");
        Notches(window->Wave[0], 200, 40);
        QCOMPARE(State().Scale, 0);
        QCOMPARE(State().SubScale, 128);

        window->ZoomAllSetting();
        window->RedrawWaveforms();
        const int32_t start = State().ScreenStart;
        Notches(window->Wave[0], 200, -3);
        QCOMPARE(State().Scale, 1939);
        QCOMPARE(State().ScreenStart, start);
    }

    void shiftHorizontalAndOverviewTurnsScrollByTheButtonsStep_data() {
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("subScale");
        QTest::newRow("Scale 4") << " 4"
                                 << " 0";
        QTest::newRow("Scale 1") << " 1"
                                 << " 0";
        QTest::newRow("SubScale 4") << " 0"
                                    << " 4";
    }

    void shiftHorizontalAndOverviewTurnsScrollByTheButtonsStep() {
        QFETCH(QString, scale);
        QFETCH(QString, subScale);
        ShowFrom(400000, qPrintable(scale), qPrintable(subScale));
        const int32_t step = ScrollButtonStep();
        QVERIFY(step > 0);

        struct Case {
            const char* name;
            QWidget* surface;
            QPoint angleDelta;
            Qt::KeyboardModifiers modifiers;
            int32_t moved;
        };
        const Case cases[] = {
            {"shift, away", window->Wave[9], {0, 120}, Qt::ShiftModifier, -step},
            {"shift, towards", window->Wave[9], {0, -120}, Qt::ShiftModifier, step},
            {"sideways, left", window->Wave[9], {120, 0}, Qt::NoModifier, -step},
            {"sideways, right", window->Wave[9], {-120, 0}, Qt::NoModifier, step},
            {"overview, away", window->Overview, {0, 120}, Qt::NoModifier, -step},
            {"overview, towards", window->Overview, {0, -120}, Qt::NoModifier, step},
        };
        for (const Case& c : cases) {
            const int32_t before = State().ScreenStart;
            const int32_t scaleBefore = State().Scale;
            Turn(c.surface, 50, c.angleDelta, c.modifiers);
            QVERIFY2(State().ScreenStart - before == c.moved, c.name);
            QVERIFY2(State().Scale == scaleBefore, c.name); // no zoom
        }
    }

    void noTurnLeavesTheViewOutsideTheBuffer() {
        ShowFrom(0, " 2048", " 0");
        for (const int delta : {INT_MAX, INT_MIN + 1, INT_MAX}) {
            Turn(window->Wave[0], 10, QPoint(delta, 0));
            Turn(window->Overview, 10, QPoint(0, delta));
            QVERIFY(State().CenterSample >= 0);
            QVERIFY(State().CenterSample <= State().BufferSamples);
        }
        Turn(window->Wave[0], 10, QPoint(0, INT_MAX));
        QCOMPARE(State().SubScale, 128);
        QVERIFY(State().CenterSample >= 0 && State().CenterSample <= State().BufferSamples);
    }

    void wheelClickCaptureAndFileGiveTheFocus() {
        ShowActive();
        window->Command5->setFocus();
        Notches(window->Wave[3], 100, 1);
        QVERIFY(WaveformHasFocus());

        window->Command5->setFocus();
        QTest::mouseClick(window->Wave[12], Qt::LeftButton, {}, QPoint(100, 8));
        QVERIFY(WaveformHasFocus());

        // The end of a demo capture.
        window->Command5->setFocus();
        QAction* acquire = window->findChild<QAction*>("macquire");
        acquire->trigger();
        acquire->trigger(); // returns once the capture is finished
        QVERIFY(WaveformHasFocus());

        // A file opened from the File menu.
        QTemporaryDir folder;
        const QString path = folder.filePath("focus.nrk");
        SetFileDialogRunner(
            [&](FileDialogKind, const QString&) { return std::optional<ChosenFile>({path, {}}); });
        QStringList messages;
        SetMessageAnswerer([&](const MessageRequest& request) {
            messages << request.text;
            return QMessageBox::Ok;
        });
        window->findChild<QAction*>("SaveAsMenu")->trigger();
        window->Command5->setFocus();
        window->findChild<QAction*>("OpenMenu")->trigger();
        SetFileDialogRunner({});
        SetMessageAnswerer({});
        QCOMPARE(messages, QStringList());
        QVERIFY(WaveformHasFocus());
    }

    void keysScrollZoomAndCentre() {
        ShowActive();
        ShowFrom(400000, " 8", " 0");
        const int32_t step = ScrollButtonStep();
        window->FocusWaveform();
        QVERIFY(WaveformHasFocus());
        const double screen = VisibleSpan(State(), window->RowWidth());

        const int32_t start = State().ScreenStart;
        Press(Qt::Key_Left);
        QCOMPARE(State().ScreenStart, start - step);
        Press(Qt::Key_Right);
        QCOMPARE(State().ScreenStart, start);
        Press(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(State().ScreenStart, start + int32_t(screen));
        Press(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(State().ScreenStart, start);

        const int32_t centre = State().CenterSample;
        Press(Qt::Key_Plus);
        QCOMPARE(State().Scale, 4);
        QCOMPARE(State().CenterSample, centre);
        Press(Qt::Key_Minus);
        QCOMPARE(State().Scale, 8);
        Press(Qt::Key_Equal);
        QCOMPARE(State().Scale, 4);

        State().XCursor = 123456;
        State().OCursor = 654321;
        State().TriggerSample = 314573;
        const std::pair<Qt::Key, int32_t> centring[] = {
            {Qt::Key_X, 123456},
            {Qt::Key_O, 654321},
            {Qt::Key_T, 314573},
            {Qt::Key_Home, 0},
            {Qt::Key_End, State().BufferSamples - 1},
        };
        for (const auto& [key, sample] : centring) {
            Press(key);
            QCOMPARE(State().CenterSample, sample);
            QCOMPARE(State().Scale, 4);
        }
    }

    void keysWithControlOrAltAreLeftToTheWindow() {
        ShowActive();
        ShowFrom(400000, " 8", " 0");
        window->FocusWaveform();
        QVERIFY(WaveformHasFocus());
        const int32_t start = State().ScreenStart;
        Press(Qt::Key_Left, Qt::ControlModifier);
        Press(Qt::Key_Plus, Qt::AltModifier);
        Press(Qt::Key_A);
        QCOMPARE(State().ScreenStart, start);
        QCOMPARE(State().Scale, 8);
        QVERIFY(!window->Wave[19]->onKeyPress(Qt::Key_Return, Qt::NoModifier));
    }
};

} // namespace norrik

QTEST_MAIN(norrik::WheelKeysTest)
#include "wheel_keys_test.moc"
