// The mouse on the rows, the cursor strip and the overview, driven through real mouse events
// where the wiring matters and through the handlers for the arithmetic of each gesture.
#include "view_test_support.h"

#include <QtTest>

namespace norrik {

class ViewMouseTest : public QObject, DemoCaptureWindow {
    Q_OBJECT

private:
    QRgb RowPixel(int row, int x, int y) const {
        return Pixel(window->Wave[static_cast<size_t>(row)], x, y);
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() { StartWithDemoCapture(); }

    void cleanup() { window.reset(); }

    void aLeftClickZoomsInKeepingTheSampleUnderThePointer() {
        ShowFrom(1000, " 4", " 0");
        QTest::mouseClick(window->Wave[7], Qt::LeftButton, {}, QPoint(100, 8));
        QCOMPARE(State().Scale, 2);
        QCOMPARE(State().ScreenStart, 1200); // sample 1400 still at column 100

        ShowFrom(1000, " 0", " 2");
        window->Wave_MouseDown(7, 1, 101);
        window->Wave_MouseUp(7, 1, 101);
        QCOMPARE(State().SubScale, 4);
        QCOMPARE(State().ScreenStart, 1025); // c = 1050 (1050.5 to even), 1050 - 25.25
    }

    void aRightClickZoomsOutUntilAColumnHoldsARowsShare() {
        ShowFrom(1000, " 2", " 0");
        QTest::mouseClick(window->Wave[0], Qt::RightButton, {}, QPoint(100, 8));
        QCOMPARE(State().Scale, 4);
        QCOMPARE(State().ScreenStart, 800); // sample 1200 still at column 100

        window->ZoomAllSetting();
        window->RedrawWaveforms();
        const int32_t start = State().ScreenStart;
        QTest::mouseClick(window->Wave[0], Qt::RightButton, {}, QPoint(100, 8));
        QCOMPARE(State().Scale, 1939);
        QCOMPARE(State().ScreenStart, start);
    }

    void aMiddleClickAndTheFinestZoomChangeNothing() {
        ShowFrom(1000, " 4", " 0");
        QTest::mouseClick(window->Wave[3], Qt::MiddleButton, {}, QPoint(100, 8));
        QCOMPARE(State().Scale, 4);
        QCOMPARE(State().ScreenStart, 1000);

        ShowFrom(1000, " 0", " 128");
        QTest::mouseClick(window->Wave[3], Qt::LeftButton, {}, QPoint(100, 8));
        QCOMPARE(State().SubScale, 128);
        QCOMPARE(State().ScreenStart, 1000);
    }

    void aDragPansOnceItHasMovedTwoSamples() {
        ShowFrom(1000, " 1", " 0");
        const int32_t centre = State().CenterSample;
        window->Wave_MouseDown(4, 1, 300);
        window->Wave_MouseMove(4, 1, 299);
        QCOMPARE(State().CenterSample, centre);
        QVERIFY(!State().WaveDragged);
        window->Wave_MouseMove(4, 1, 298);
        QCOMPARE(State().CenterSample, centre + 2);
        QCOMPARE(State().ScreenStart, 1002);
        window->Wave_MouseUp(4, 1, 298); // the end of a drag, not a click
        QCOMPARE(State().Scale, 1);

        ShowFrom(100000, " 100", " 0");
        const int32_t wide = State().CenterSample;
        window->Wave_MouseDown(4, 1, 300);
        window->Wave_MouseMove(4, 1, 290);
        QCOMPARE(State().CenterSample, wide + 1000);
        window->Wave_MouseMove(4, 1, 300); // back to the right: earlier samples
        QCOMPARE(State().CenterSample, wide);
    }

    void aDragNeedsTwoSamplesEvenWhenZoomedIn() {
        ShowFrom(1000, " 0", " 64");
        const int32_t centre = State().CenterSample;
        window->Wave_MouseDown(4, 1, 300);
        window->Wave_MouseMove(4, 1, 173); // 127 columns: 1.98 samples
        QCOMPARE(State().CenterSample, centre);
        window->Wave_MouseMove(4, 1, 172);
        QCOMPARE(State().CenterSample, centre + 2);
    }

    void beforeACaptureADragDoesNotPanButAClickZooms() {
        State().HaveCapture = false;
        ShowFrom(1000, " 4", " 0");
        window->Wave_MouseDown(4, 1, 300);
        window->Wave_MouseMove(4, 1, 200);
        QCOMPARE(State().ScreenStart, 1000);
        window->Wave_MouseUp(4, 1, 200);
        QCOMPARE(State().Scale, 2);
    }

    void theCursorStripPlacesXWithTheLeftButtonAndOWithOthers() {
        ShowFrom(5000, " 4", " 0");
        // The strip has a border: its picture starts one pixel in.
        QTest::mouseClick(window->XWindow, Qt::LeftButton, {}, QPoint(1, 5));
        QCOMPARE(State().XCursor, 5000);
        QTest::mouseClick(window->XWindow, Qt::RightButton, {}, QPoint(1, 5));
        QCOMPARE(State().OCursor, 5000);
        window->XWindow_MouseDown(4, 100.5); // middle: O at 5000 + 402
        QCOMPARE(State().OCursor, 5402);
        QCOMPARE(State().XCursor, 5000);
    }

    void theHoverLineInvertsTheRowsAndIsRemovedByTheNextMove() {
        ShowFrom(5000, " 4", " 0");
        const QRgb before = RowPixel(2, 100, 0);
        window->XWindow_MouseMove(0, 100);
        QVERIFY(State().HoverMarkShown);
        for (int row = 0; row < kRows; ++row)
            QCOMPARE(RowPixel(row, 100, 0), 0xFFFFFF & ~before);
        window->XWindow_MouseMove(0, 200);
        QCOMPARE(RowPixel(2, 100, 0), before);
        QCOMPARE(RowPixel(2, 200, 0), 0xFFFFFF & ~before);
        QCOMPARE(State().HoverMarkX, 200);
        window->RedrawWaveforms();
        QVERIFY(!State().HoverMarkShown);
        QCOMPARE(RowPixel(2, 200, 0), before);
        // The first move after a redraw draws without erasing anything.
        window->XWindow_MouseMove(0, 300);
        QCOMPARE(RowPixel(2, 200, 0), before);
        QCOMPARE(RowPixel(2, 300, 0), 0xFFFFFF & ~before);
    }

    void theOverviewCentresWhileTheButtonIsHeld() {
        ShowFrom(0, " 4", " 0");
        const double width = window->Overview->ScaleWidth();
        window->Overview_MouseDown(1, width / 2);
        QCOMPARE(State().CenterSample, State().BufferSamples / 2);
        window->Overview_MouseMove(1, width / 4);
        QCOMPARE(State().CenterSample, State().BufferSamples / 4);
        window->Overview_MouseUp(1, width / 4);
        window->Overview_MouseMove(0, width / 2);
        QCOMPARE(State().CenterSample, State().BufferSamples / 4);

        QTest::mouseClick(window->Overview, Qt::LeftButton, {}, QPoint(1, 5));
        QCOMPARE(State().CenterSample, 0);
    }
};

} // namespace norrik

QTEST_MAIN(norrik::ViewMouseTest)
#include "view_mouse_test.moc"
