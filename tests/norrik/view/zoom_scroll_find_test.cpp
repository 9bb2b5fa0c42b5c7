// Zoom, scroll, centring and find from the buttons, the View menu and the scroll timers.
#include "trigger_steps.h"
#include "view_test_support.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace norrik {

class ZoomScrollFindTest : public QObject, DemoCaptureWindow {
    Q_OBJECT

private:
    void ZoomAll() {
        window->ZoomAllSetting();
        window->RedrawWaveforms();
    }

    void Trigger(const char* menuItem) { window->findChild<QAction*>(menuItem)->trigger(); }

    // Demo samples are 0xCCCCCCCC + k. Step 1: bits 0-7 all low with Sin (bit 16) high, which
    // holds at k = 13108 + 256 n (n < 256) in every 131072 samples; step 2: bits 0-7 = 0x10,
    // 16 samples later. So the targets lie at 13125 + 256 n, repeating every 131072 samples.
    void SetDemoTriggerPattern() {
        for (int bit = 0; bit < 8; ++bit) {
            State().TriggerLevels[TriggerLevelIndex(0, bit)] = kLow;
            State().TriggerLevels[TriggerLevelIndex(1, bit)] = bit == 4 ? kHigh : kLow;
        }
        State().TriggerLevels[TriggerLevelIndex(0, 16)] = kHigh;
    }

    void VerifyFindsInOrder(int32_t startCentre, const std::vector<int32_t>& next) {
        window->CenterViewOn(startCentre);
        window->RedrawWaveforms();
        for (const int32_t target : next) {
            window->Command10->click();
            QCOMPARE(State().CenterSample, target);
        }
        for (auto target = next.rbegin() + 1; target != next.rend(); ++target) {
            window->Command11->click();
            QCOMPARE(State().CenterSample, *target);
        }
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() { StartWithDemoCapture(); }

    void cleanup() { window.reset(); }

    void zoomInAndOutKeepTheCentreSample() {
        ShowFrom(0, " 4", " 0");
        window->Command3->click();
        QCOMPARE(State().Scale, 2);
        QCOMPARE(State().ScreenStart, 649); // centred on 1298
        window->Command4->click();
        QCOMPARE(State().Scale, 4);
        QCOMPARE(State().CenterSample, 1298);

        ZoomAll();
        const int32_t centre = State().CenterSample;
        Trigger("zoomin");
        QCOMPARE(State().Scale, 969);
        QCOMPARE(State().CenterSample, centre);
    }

    void zoomStopsAtItsLimits() {
        ZoomAll();
        const int32_t start = State().ScreenStart;
        window->Command4->click();
        Trigger("zoomout");
        QCOMPARE(State().Scale, 1939);
        QCOMPARE(State().ScreenStart, start);

        ShowFrom(1000, " 0", " 128");
        window->Command3->click();
        QCOMPARE(State().SubScale, 128);
        QCOMPARE(State().ScreenStart, 1000);
        ShowFrom(1000, " 0", " 64");
        Trigger("zoomin");
        QCOMPARE(State().SubScale, 128);
    }

    void zoomAllFromTheButtonAndTheMenu() {
        ShowFrom(5000, " 3", " 0");
        window->Command5->click();
        QCOMPARE(State().ScreenStart, -104858);
        QCOMPARE(State().Scale, 1939);
        ShowFrom(5000, " 3", " 0");
        Trigger("zoomall");
        QCOMPARE(State().Scale, 1939);
    }

    void oneScrollStepMovesByTheZoom() {
        ZoomAll();
        Trigger("mleft");
        QCOMPARE(State().ScreenStart, -104858 - 97000);
        Trigger("mright");
        QCOMPARE(State().ScreenStart, -104858);
        ShowFrom(1000, " 0", " 4");
        Trigger("mleft");
        QCOMPARE(State().ScreenStart, 988);
    }

    void scrollingFarBeforeTheBufferEndsCentredOnSampleZero() {
        ShowFrom(0, " 1000", " 0");
        for (int i = 0; i < 20; ++i)
            Trigger("mleft");
        QCOMPARE(State().CenterSample, 0);
        QCOMPARE(State().ScreenStart, -324500);
    }

    void theScrollButtonsRepeatFasterWhileHeld() {
        ShowFrom(100000, " 1", " 0");
        window->ScrollRight_MouseDown();
        QCOMPARE(State().ScreenStart, 100100);
        QVERIFY(window->ScrollTimerRight->isActive());
        QCOMPARE(window->ScrollTimerRight->interval(), 250);
        window->ScrollTimerRight_Timer();
        QCOMPARE(State().ScreenStart, 100200);
        QCOMPARE(window->ScrollTimerRight->interval(), 188);
        for (int tick = 2; tick <= 12; ++tick)
            window->ScrollTimerRight_Timer();
        QCOMPARE(window->ScrollTimerRight->interval(), 8);
        QCOMPARE(State().ScrollStep, 55);
        QCOMPARE(State().ScreenStart, 100000 + 100 + 12 * 100);
        window->ScrollTimerRight_Timer();
        QCOMPARE(State().ScreenStart, 100000 + 100 + 12 * 100 + 2 * 55);
        window->ScrollRight_MouseUp();
        QVERIFY(!window->ScrollTimerRight->isActive());

        // A new press starts over at 50 and 250 ms, leftwards here.
        const int32_t start = State().ScreenStart;
        window->ScrollLeft_MouseDown();
        QCOMPARE(State().ScrollStep, 50);
        QCOMPARE(State().ScreenStart, start - 100);
        QCOMPARE(window->ScrollTimerLeft->interval(), 250);
        window->ScrollLeft_MouseUp();
        QVERIFY(!window->ScrollTimerLeft->isActive());
    }

    void theScrollButtonsRespondToRealPresses() {
        ShowFrom(100000, " 2", " 0");
        QTest::mousePress(window->ScrollLeft, Qt::LeftButton);
        QCOMPARE(State().ScreenStart, 100000 - 150);
        QVERIFY(window->ScrollTimerLeft->isActive());
        QTest::mouseRelease(window->ScrollLeft, Qt::LeftButton);
        QVERIFY(!window->ScrollTimerLeft->isActive());
    }

    void centringOnTheCursorsAndTheTrigger() {
        ShowFrom(0, " 2", " 0");
        State().TriggerSample = 1000;
        State().XCursor = 5000;
        State().OCursor = -70;
        window->Command9->click();
        QCOMPARE(State().ScreenStart, 351);
        window->Command7->click();
        QCOMPARE(State().CenterSample, 5000);
        window->Command8->click(); // before the buffer: the redraw pulls the centre to 0
        QCOMPARE(State().CenterSample, 0);
        QCOMPARE(State().ScreenStart, -649);
    }

    void findLandsOnTheOccurrencesInOrderBothWays() {
        SetDemoTriggerPattern();
        ShowFrom(0, " 2", " 0");
        VerifyFindsInOrder(0, {13125, 13381, 13637, 13893});
        // Across the gap between two stretches of Sin high.
        VerifyFindsInOrder(78400, {144197, 144453});
        window->Command11->click();
        QCOMPARE(State().CenterSample, 78405);
    }

    void findKeepsItsPlaceAtAnOddZoom() {
        SetDemoTriggerPattern();
        ZoomAll(); // 1939 samples per column: two samples centre the view alike
        VerifyFindsInOrder(0, {13125, 13381, 13637});
        VerifyFindsInOrder(950000, {950085, 950341});
    }

    // P15 of the demo samples is high over runs of 32768 samples from 45876 + 65536 n: with
    // only that level asked for, each press crosses a whole run to the next run's beginning
    // (the trigger's two samples in).
    void findNextOverALongRunOfALevelLandsOnTheNextRun() {
        State().TriggerLevels[TriggerLevelIndex(0, 15)] = kHigh;
        ShowFrom(0, " 2", " 0");
        window->CenterViewOn(50000);
        window->RedrawWaveforms();
        window->Command10->click();
        QCOMPARE(State().CenterSample, 45876 + 65536 + 2);
        window->Command10->click();
        QCOMPARE(State().CenterSample, 45876 + 2 * 65536 + 2);
        window->Command11->click();
        QCOMPARE(State().CenterSample, 45876 + 65536 + 2);
        window->Command11->click();
        QCOMPARE(State().CenterSample, 45876 + 2);
    }

    void findWithEveryLevelDontCareFindsNothing() {
        ShowFrom(1000, " 2", " 0");
        window->Command10->click();
        QCOMPARE(State().ScreenStart, 1000);
        window->Command11->click();
        QCOMPARE(State().ScreenStart, 1000);
    }

    void findWithoutAnOccurrenceLeavesTheView() {
        SetDemoTriggerPattern();
        ShowFrom(1000, " 2", " 0");
        window->Command11->click(); // nothing before sample 1649
        QCOMPARE(State().ScreenStart, 1000);
        // Bits 17 to 20 all high: the demo's samples never get that far.
        for (int bit = 17; bit <= 20; ++bit)
            State().TriggerLevels[TriggerLevelIndex(0, bit)] = kHigh;
        window->Command10->click();
        QCOMPARE(State().ScreenStart, 1000);
    }
};

} // namespace norrik

QTEST_MAIN(norrik::ZoomScrollFindTest)
#include "zoom_scroll_find_test.moc"
